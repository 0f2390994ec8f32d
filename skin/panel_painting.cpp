#include "skin/panel_painting.h"

#include <string_view>

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/skin_engine.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

void Outline(draw::Graphics& graphics, float x, float y, float w, float h, float r, std::uint32_t argb) {
  draw::GraphicsPath path(draw::kFillAlternate);
  AddRoundedRectangle(path, x, y, w, h, r);
  draw::Pen pen(argb, 1);
  graphics.DrawPath(pen, path);
}

void DrawCaption(draw::Graphics& graphics, HWND panel, const PanelRecord& record, float width) {
  if (record.caption.empty()) return;
  draw::FontFamily family = FamilyFor(record.fontFace.empty() ? std::string("宋体") : record.fontFace);
  draw::Font font(family, static_cast<float>(record.fontSize), record.fontStyle, draw::kUnitPoint);
  if (!font) return;
  const std::string_view text(record.caption);
  draw::RectF measured{};
  graphics.MeasureString(text, font, {0, 0, 10000, 1000}, nullptr, measured);
  const LONG_PTR style = GetWindowLongPtrA(panel, GWL_STYLE);
  const float textWidth = measured.width;
  float x = width - textWidth - 10;
  if ((style & BS_CENTER) == BS_CENTER) {
    x = (width - textWidth) / 2;
  } else if (style & BS_LEFT) {
    x = 10;
  }
  draw::SolidBrush ink(ToArgb(static_cast<COLORREF>(props::Get(panel, props::kTextColour)), 255));
  graphics.DrawString(text, font, {x, 1, textWidth, static_cast<float>(record.fontSize + 3)}, nullptr, ink);
}

}  // namespace

bool PaintPanel(const SkinEngine& engine, HWND panel, HDC dc) {
  auto surface = engine.BackgroundBehind(panel);
  if (!surface) return false;
  const auto* record = static_cast<const PanelRecord*>(engine.RecordOf(panel, ControlKind::kPanels));
  if (record) {
    draw::Graphics graphics(surface->dc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    const auto w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
    if (record->isGroupBox) {
      Outline(graphics, 0, 5, w - 1, h - 6, 5, ToArgb(0, 40));
      Outline(graphics, 1, 6, w - 3, h - 8, 3, ToArgb(0xFFFFFF, 90));
      DrawCaption(graphics, panel, *record, w);
    } else if (record->cornerFlag) {
      Outline(graphics, 0, 0, w - 1, h - 1, 5, ToArgb(0, 40));
      Outline(graphics, 1, 1, w - 3, h - 3, 3, ToArgb(0xFFFFFF, 100));
    }
  }
  BitBlt(dc, 0, 0, surface->width, surface->height, surface->dc.Get(), 0, 0, SRCCOPY);
  return true;
}

}  // namespace skin
