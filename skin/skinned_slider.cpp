#include "skin/skinned_slider.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"

namespace skin {
namespace {

bool AcceptsAny(HWND, LONG_PTR) { return true; }

std::unique_ptr<ControlRecord> MakeRecord() { return std::make_unique<SliderRecord>(); }

void Attached(HWND hwnd, ControlRecord& base) {
  DecodeSliderStyle(GetWindowLongPtrA(hwnd, GWL_STYLE), static_cast<SliderRecord&>(base));
  InvalidateRect(hwnd, nullptr, FALSE);
}

// A gradient along the slider's cross axis: top to bottom, or left to right when vertical.
draw::LinearGradientBrush Across(bool vertical, const RECT& r, std::uint32_t from, std::uint32_t to) {
  const auto left = static_cast<float>(r.left), top = static_cast<float>(r.top);
  const draw::PointF end = vertical ? draw::PointF{static_cast<float>(r.right), top} : draw::PointF{left, static_cast<float>(r.bottom)};
  return draw::LinearGradientBrush({left, top}, end, from, to, draw::kWrapTileFlipXY);
}

// x (or y) of a position along the channel, where the thumb's centre would stand.
float PositionAt(HWND hwnd, const RECT& channel, const RECT& thumb, bool vertical, LRESULT position) {
  const LRESULT low = SendMessageA(hwnd, TBM_GETRANGEMIN, 0, 0), high = SendMessageA(hwnd, TBM_GETRANGEMAX, 0, 0);
  const float half = static_cast<float>(vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left) / 2;
  const float start = static_cast<float>(vertical ? channel.top : channel.left) + half;
  const float length = static_cast<float>(vertical ? channel.bottom - channel.top : channel.right - channel.left) - 2 * half;
  if (high <= low) return start;
  return start + length * static_cast<float>(std::clamp(position, low, high) - low) / static_cast<float>(high - low);
}

}  // namespace

void DecodeSliderStyle(LONG_PTR style, SliderRecord& record) {
  record.vertical = (style & TBS_VERT) != 0;
  if (style & TBS_NOTICKS) {
    record.ticks = TickPlacement::kNone;
  } else if (style & TBS_BOTH) {
    record.ticks = TickPlacement::kBoth;
  } else if (style & TBS_TOP) {
    record.ticks = TickPlacement::kTopOrLeft;
  } else {
    record.ticks = TickPlacement::kBottomOrRight;
  }
  record.selectionRange = (style & TBS_ENABLESELRANGE) != 0;
}

std::vector<ChildKind> SliderKinds() {
  return {ChildKind{ControlKind::kSliders, TRACKBAR_CLASSA, &AcceptsAny, &SliderProcedure, &MakeRecord, &Attached}};
}

void DrawSlider(HWND hwnd, HDC dc) {
  SkinEngine* engine = SkinEngine::Current();
  SliderRecord* record = RecordFor<SliderRecord>(hwnd);
  if (!engine || !record) return;
  auto surface = engine->BackgroundBehind(hwnd);
  if (!surface) return;
  const auto w = static_cast<float>(surface->width), h = static_cast<float>(surface->height);
  const bool vertical = record->vertical;
  {
    draw::Graphics graphics(surface->dc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    if (engine->Settings().accentSwitch) {
      draw::Pen frame(ToArgb(0, 30), 1);
      graphics.DrawPath(frame, RoundedRectanglePath(0, 0, w - 1, h - 1, 5));
      const RECT inner{1, 1, surface->width - 2, surface->height - 2};
      graphics.FillPath(Across(vertical, inner, ToArgb(0xFFFFFF, 160), ToArgb(0, 30)),
                        RoundedRectanglePath(1, 1, w - 3, h - 3, 3));
    }

    RECT channel{};
    SendMessageA(hwnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    // The control reports a vertical channel as if it lay horizontally.
    if (vertical) channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
    graphics.FillPath(Across(vertical, channel, ToArgb(0, 50), ToArgb(0, 30)),
                      RoundedRectanglePath(static_cast<float>(channel.left), static_cast<float>(channel.top),
                                           static_cast<float>(channel.right - channel.left),
                                           static_cast<float>(channel.bottom - channel.top), 1));

    RECT thumb{};
    SendMessageA(hwnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (record->selectionRange) {
      const LRESULT start = SendMessageA(hwnd, TBM_GETSELSTART, 0, 0), end = SendMessageA(hwnd, TBM_GETSELEND, 0, 0);
      if (end > start) {
        const float from = PositionAt(hwnd, channel, thumb, vertical, start), to = PositionAt(hwnd, channel, thumb, vertical, end);
        const draw::RectF range = vertical ? draw::RectF{static_cast<float>(channel.left), from,
                                                         static_cast<float>(channel.right - channel.left - 1), to - from}
                                           : draw::RectF{from, static_cast<float>(channel.top), to - from,
                                                         static_cast<float>(channel.bottom - channel.top - 1)};
        draw::Pen pen(ToArgb(0xFFFFFF, 160), 1);
        graphics.DrawRectangle(pen, range);
      }
    }

    const float size = record->hot ? 11.0f : 4.0f;
    const float lean = record->ticks == TickPlacement::kBoth ? 1.0f : record->ticks == TickPlacement::kTopOrLeft ? 2.0f : 0.0f;
    float cx = static_cast<float>(thumb.left + thumb.right) / 2, cy = static_cast<float>(thumb.top + thumb.bottom) / 2;
    (vertical ? cx : cy) += lean;
    const draw::RectF knob{cx - size / 2, cy - size / 2, size, size};
    draw::GraphicsPath ellipse(draw::kFillAlternate);
    ellipse.AddEllipse(knob);
    draw::SolidBrush white(ToArgb(0xFFFFFF, 255));
    graphics.FillPath(white, ellipse);
    draw::LinearGradientBrush shade({knob.x, knob.y}, {knob.x, knob.y + size}, ToArgb(0xFFFFFF, 0), ToArgb(0, 90),
                                    draw::kWrapTileFlipXY);
    graphics.FillPath(shade, ellipse);
    draw::Pen outline(ToArgb(0, 50), 1);
    graphics.DrawPath(outline, ellipse);
  }
  BitBlt(dc, 0, 0, surface->width, surface->height, surface->dc.Get(), 0, 0, SRCCOPY);
}

void RedrawSlider(HWND hwnd) {
  WindowDc dc(hwnd);
  if (dc.Get()) DrawSlider(hwnd, dc.Get());
}

LRESULT CALLBACK SliderProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SliderRecord* record = RecordFor<SliderRecord>(hwnd);
  if (!record) return PassOn(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&track);
      // Only the change of look is drawn here; a drag repaints through WM_PAINT.
      if (!record->hot) {
        record->hot = true;
        RedrawSlider(hwnd);
      }
      break;
    }
    case WM_MOUSELEAVE:
      record->hot = false;
      RedrawSlider(hwnd);
      break;
    case WM_MOVE:
      RedrawSlider(hwnd);
      break;
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_PAINT: {
      {
        PaintScope paint(hwnd);
        DrawSlider(hwnd, paint.Get());
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
    case WM_NCPAINT:
      RedrawSlider(hwnd);
      break;
    default:
      break;
  }
  return PassOn(hwnd, message, wParam, lParam);
}

}  // namespace skin
