#include "forms/drawing_commands.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "controls/drawing_panel.h"
#include "controls/gdi_owners.h"
#include "controls/gradient_paint.h"
#include "forms/forms_runtime_win.h"

namespace forms {
namespace {

controls::DrawingPanel* PanelOf(const runtime::UnitRef& panel) {
  HWND window = FormsRuntime::Instance().UnitHandle(static_cast<WindowId>(panel.window_id),
                                                    static_cast<UnitId>(panel.unit_id));
  return window ? controls::FindDrawingPanel(window) : nullptr;
}

// The part of the kept picture that changed, shown on the screen as it is now in the picture.
void Show(controls::DrawingPanel& panel, const RECT& changed) {
  controls::WindowDc screen(panel.Window());
  if (!screen.Get()) return;
  BitBlt(screen.Get(), changed.left, changed.top, changed.right - changed.left, changed.bottom - changed.top,
         panel.Picture(), changed.left, changed.top, SRCCOPY);
}

RECT ClientOf(const controls::DrawingPanel& panel) {
  RECT client{};
  GetClientRect(panel.Window(), &client);
  return client;
}

// The rectangle cut to the client area; false when nothing of it is left.
bool Visible(const controls::DrawingPanel& panel, const RECT& wanted, RECT& visible) {
  const RECT client = ClientOf(panel);
  const SIZE kept = panel.PictureSize();
  const RECT bounds{0, 0, std::min<LONG>(client.right, kept.cx), std::min<LONG>(client.bottom, kept.cy)};
  return IntersectRect(&visible, &wanted, &bounds) != FALSE;
}

}  // namespace

void ClearDrawing(const runtime::UnitRef& unit, const DrawingArea& area) {
  controls::DrawingPanel* panel = PanelOf(unit);
  if (!panel) return;
  const RECT client = ClientOf(*panel);
  const LONG x = area.x.value_or(0);
  const LONG y = area.y.value_or(0);
  const RECT wanted{x, y, x + area.width.value_or(client.right), y + area.height.value_or(client.bottom)};
  panel->MoveTo({x, y});
  RECT visible;
  if (!Visible(*panel, wanted, visible)) return;
  HBRUSH brush = CreateSolidBrush(panel->Background());
  FillRect(panel->Picture(), &visible, brush);
  DeleteObject(brush);
  Show(*panel, visible);
}

void GradientFill(const runtime::UnitRef& unit, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height, std::optional<std::int32_t> mode, std::span<const std::uint32_t> colours) {
  controls::DrawingPanel* panel = PanelOf(unit);
  if (!panel || width < 1 || height < 1 || colours.size() < 2) return;
  const int shownMode = std::clamp(mode.value_or(2), 1, 8);
  const RECT wanted{x, y, x + width, y + height};
  RECT visible;
  if (!Visible(*panel, wanted, visible)) return;

  // Each tile is shown as soon as it is in the picture.
  controls::PaintGradient(panel->Picture(), wanted, visible, shownMode, colours,
                          [panel](const RECT& tile) { Show(*panel, tile); });
}

void CopyPicture(const runtime::UnitRef& sourceUnit, std::int32_t x, std::int32_t y,
                 std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                 const std::optional<runtime::UnitRef>& targetUnit, std::int32_t targetX, std::int32_t targetY,
                 std::optional<std::int32_t> mode) {
  static constexpr std::array<DWORD, 5> kOperations{SRCCOPY, NOTSRCCOPY, SRCINVERT, SRCPAINT, SRCAND};
  controls::DrawingPanel* source = PanelOf(sourceUnit);
  controls::DrawingPanel* target = targetUnit ? PanelOf(*targetUnit) : source;
  if (!source || !target) return;
  const RECT client = ClientOf(*source);
  const int shownWidth = width.value_or(client.right);
  const int shownHeight = height.value_or(client.bottom);
  if (shownWidth < 1 || shownHeight < 1) return;
  const DWORD operation = kOperations[static_cast<std::size_t>(std::clamp(mode.value_or(1), 1, 5) - 1)];
  BitBlt(target->Picture(), targetX, targetY, shownWidth, shownHeight, source->Picture(), x, y, operation);
  RECT changed;
  if (Visible(*target, RECT{targetX, targetY, targetX + shownWidth, targetY + shownHeight}, changed)) {
    Show(*target, changed);
  }
}

}  // namespace forms
