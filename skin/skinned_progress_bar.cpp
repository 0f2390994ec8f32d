#include "skin/skinned_progress_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"

namespace skin {
namespace {

bool AcceptsAny(HWND, LONG_PTR) { return true; }

void Attached(HWND hwnd, ControlRecord&) { InvalidateRect(hwnd, nullptr, FALSE); }

// The done share, 0 to 1.
float Done(HWND hwnd) {
  PBRANGE range{};
  SendMessageA(hwnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const auto position = static_cast<int>(SendMessageA(hwnd, PBM_GETPOS, 0, 0));
  if (range.iHigh <= range.iLow) return 0;
  return std::clamp(static_cast<float>(position - range.iLow) / static_cast<float>(range.iHigh - range.iLow), 0.0f, 1.0f);
}

}  // namespace

std::vector<ChildKind> ProgressBarKinds() {
  return {ChildKind{ControlKind::kProgressBars, PROGRESS_CLASSA, &AcceptsAny, &ProgressBarProcedure, nullptr, &Attached}};
}

void DrawProgressBar(HWND hwnd, HDC dc) {
  SkinEngine* engine = SkinEngine::Current();
  if (!engine || !engine->RecordOf(hwnd, ControlKind::kProgressBars)) return;
  auto surface = engine->BackgroundBehind(hwnd);
  if (!surface) return;
  const auto w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
  const bool vertical = (GetWindowLongPtrA(hwnd, GWL_STYLE) & PBS_VERTICAL) != 0;
  const COLORREF accent = engine->Settings().accent;
  {
    draw::Graphics graphics(surface->dc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    draw::SolidBrush groove(ToArgb(0xFFFFFF, 160));
    graphics.FillPath(groove, RoundedRectanglePath(1, 1, w - 3, h - 3, 5));
    draw::Pen frame(ToArgb(0, 30), 1);
    graphics.DrawPath(frame, RoundedRectanglePath(0, 0, w - 1, h - 1, 5));

    const float done = Done(hwnd);
    // Filled from the left, or from the bottom when vertical.
    const float length = (vertical ? h - 4 : w - 4) * done;
    if (length >= 1) {
      const draw::RectF bar = vertical ? draw::RectF{2, h - 2 - length, w - 5, length - 1} : draw::RectF{2, 2, length - 1, h - 5};
      draw::LinearGradientBrush fill({bar.x, bar.y}, {bar.x, bar.y + bar.height}, ToArgb(accent, 150), ToArgb(accent, 255),
                                     draw::kWrapTileFlipXY);
      graphics.FillPath(fill, RoundedRectanglePath(bar.x, bar.y, bar.width, bar.height, 5));
      draw::SolidBrush gloss(ToArgb(0xFFFFFF, 90));
      graphics.FillPath(gloss, RoundedRectanglePath(bar.x, bar.y, bar.width, bar.height / 2, 5));
    }
  }
  BitBlt(dc, 0, 0, surface->width, surface->height, surface->dc.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK ProgressBarProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinEngine* engine = SkinEngine::Current();
  if (!engine || !engine->RecordOf(hwnd, ControlKind::kProgressBars)) return PassOn(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      {
        PaintScope paint(hwnd);
        DrawProgressBar(hwnd, paint.Get());
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
      const LRESULT result = PassOn(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    default:
      return PassOn(hwnd, message, wParam, lParam);
  }
}

}  // namespace skin
