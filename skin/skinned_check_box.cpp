// Check boxes and radio buttons: they paint themselves in WM_PAINT over the button base, and keep
// their check state in the record (an owner-drawn button holds none).
#include <string_view>

#include "assets/carried_pictures.h"
#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/skinned_button.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

constexpr int kBoxSize = 13;
constexpr int kCircleSize = 12;
constexpr float kMarkLeft = 2;

void HoverMark(draw::Graphics& graphics, const draw::GraphicsPath& mark, const draw::RectF& r, COLORREF accent) {
  draw::LinearGradientBrush tint({r.x, r.y}, {r.x, r.y + r.height}, ToArgb(accent, 100), ToArgb(accent, 0),
                                 draw::kWrapTileFlipXY);
  graphics.FillPath(tint, mark);
  DrawGlow(graphics, mark, 2, ToArgb(kAccentColour, 30));
  draw::Pen outline(ToArgb(accent, 255), 1);
  graphics.DrawPath(outline, mark);
}

draw::GraphicsPath Circle(float x, float y, float size) {
  draw::GraphicsPath path(draw::kFillAlternate);
  path.AddEllipse({x, y, size, size});
  return path;
}

// Clicking an auto radio button clears the other radio buttons of its group.
void ClearGroup(HWND hwnd) {
  HWND parent = GetParent(hwnd);
  for (HWND other = GetNextDlgGroupItem(parent, hwnd, FALSE); other && other != hwnd;
       other = GetNextDlgGroupItem(parent, other, FALSE)) {
    ButtonRecord* record = RecordFor<ButtonRecord>(other);
    if (record && record->kind == ButtonType::kRadio && record->checked) {
      record->checked = 0;
      RedrawButton(other, 0, false);
    }
  }
}

// What the system does for an auto check box or radio button on a click, which the owner-drawn
// style would otherwise take away.
void Toggle(HWND hwnd, ButtonRecord& record) {
  if (!record.autoToggle) return;
  if (record.kind == ButtonType::kRadio) {
    record.checked = 1;
    ClearGroup(hwnd);
  } else {
    record.checked = record.checked ? 0 : 1;
  }
}

}  // namespace

void DrawCheckOrRadio(HWND hwnd, HDC dc, UINT state) {
  SkinEngine* engine = SkinEngine::Current();
  ButtonRecord* record = RecordFor<ButtonRecord>(hwnd);
  if (!engine || !record) return;
  auto surface = engine->BackgroundBehind(hwnd);
  if (!surface) return;
  if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
  const auto w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
  const COLORREF accent = engine->Settings().accent;
  const bool hot = (state & ODS_HOTLIGHT) && !(state & ODS_DISABLED);
  const bool radio = record->kind == ButtonType::kRadio;
  {
    draw::Graphics graphics(surface->dc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    DrawButtonBase(graphics, RoundedRectanglePath(0, 0, w - 1, h - 1, 5), {0, 0, w, h}, (state & ODS_DISABLED) != 0);

    const float size = static_cast<float>(radio ? kCircleSize : kBoxSize);
    const float top = static_cast<float>(static_cast<int>((h - size) / 2));
    const draw::RectF mark{kMarkLeft, top, size, size};
    if (radio) {
      draw::Pen ring(ToArgb(0, 200), 1);
      graphics.DrawPath(ring, Circle(mark.x, mark.y, size));
      draw::SolidBrush white(ToArgb(0xFFFFFF, 255));
      graphics.FillPath(white, Circle(mark.x + 1.5f, mark.y + 1.5f, 9));
      if (record->checked) {
        draw::SolidBrush dot(ToArgb(0, 200));
        graphics.FillPath(dot, Circle(mark.x + 3.5f, mark.y + 3.5f, 5));
      }
      if (hot) HoverMark(graphics, Circle(mark.x, mark.y, size), mark, accent);
    } else {
      draw::Image box;
      const auto picture = record->checked ? assets::Picture::kCheckOn : assets::Picture::kCheckOff;
      if (box.LoadFromBytes(assets::Carried(picture))) graphics.DrawImage(box, mark);
      if (hot) HoverMark(graphics, RoundedRectanglePath(mark.x, mark.y, size - 1, size - 1, 3), mark, accent);
    }

    if (!record->text.empty()) {
      draw::FontFamily family = FamilyFor(record->fontName);
      draw::Font font(family, static_cast<float>(record->fontSize), record->fontStyle, draw::kUnitPoint);
      draw::StringFormat format(0);
      format.SetAlignment(draw::kAlignNear);
      format.SetLineAlignment(draw::kAlignCenter);
      draw::SolidBrush ink(ToArgb(static_cast<COLORREF>(props::Get(hwnd, props::kTextColour)), 255));
      const float textLeft = kMarkLeft + size + 4;
      if (font) graphics.DrawString(std::string_view(record->text), font, {textLeft, 0, w - textLeft, h}, &format, ink);
    }
  }
  BitBlt(dc, 0, 0, surface->width, surface->height, surface->dc.Get(), 0, 0, SRCCOPY);
}

std::optional<LRESULT> CheckOrRadioMessage(HWND hwnd, ButtonRecord& record, SkinnedWindow& window, UINT message,
                                           WPARAM wParam, LPARAM lParam) {
  const auto passOn = [&] { return PassOn(hwnd, message, wParam, lParam); };
  // Passing a click on runs the owner's handler, which may destroy the control or its whole
  // window and the records with them: after passOn everything is looked up again.
  const auto redraw = [hwnd] {
    SkinEngine* engine = SkinEngine::Current();
    if (!engine || !IsWindow(hwnd)) return;
    const auto* still = static_cast<const ButtonRecord*>(engine->RecordOf(hwnd, ControlKind::kButtons));
    const SkinnedWindow* owner = engine->OwnerOf(hwnd);
    if (!still || !owner) return;
    const bool hover = owner->hotButton == static_cast<int>(props::Get(hwnd, props::kIndex));
    RedrawButton(hwnd, still->focused ? ODS_FOCUS : 0, hover);
  };
  switch (message) {
    case WM_PAINT: {
      {
        PaintScope paint(hwnd);
        DrawCheckOrRadio(hwnd, paint.Get(), record.focused ? ODS_FOCUS : 0);
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case BM_GETCHECK:
      return record.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
      const LRESULT result = passOn();
      record.checked = wParam == BST_CHECKED ? 1 : 0;
      redraw();
      return result;
    }
    case WM_LBUTTONUP: {
      // A release over the pressed control is its click: toggled before the owner hears of it.
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client{};
      GetClientRect(hwnd, &client);
      if (GetCapture() == hwnd && PtInRect(&client, at)) Toggle(hwnd, record);
      window.hotButton = 0;
      const LRESULT result = passOn();
      redraw();
      return result;
    }
    case WM_KEYUP: {
      if (wParam != VK_SPACE) return std::nullopt;
      if (SendMessageA(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) Toggle(hwnd, record);
      const LRESULT result = passOn();
      redraw();
      return result;
    }
    case WM_KEYDOWN:
      if (wParam != VK_SPACE) return std::nullopt;
      [[fallthrough]];
    case WM_LBUTTONDOWN: {
      const LRESULT result = passOn();
      redraw();
      return result;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace skin
