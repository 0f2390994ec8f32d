#pragma once
// The skinned slider: a soft rounded frame, a darker channel and a round thumb that grows from a
// small dot to a full knob while the mouse is over the slider. Dragging and keys stay native.
#include <windows.h>

#include <vector>

#include "skin/skin_engine.h"

namespace skin {

// Where the control puts its ticks; the thumb leans away from them.
enum class TickPlacement : int { kTopOrLeft = 0, kBottomOrRight = 1, kBoth = 2, kNone = 3 };

struct SliderRecord : ControlRecord {
  static constexpr ControlKind kKind = ControlKind::kSliders;
  bool vertical = false;
  TickPlacement ticks = TickPlacement::kBottomOrRight;
  bool hot = false;
  bool selectionRange = false;
};

// Decodes the trackbar style bits into the record's fields.
void DecodeSliderStyle(LONG_PTR style, SliderRecord& record);

std::vector<ChildKind> SliderKinds();

LRESULT CALLBACK SliderProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void DrawSlider(HWND hwnd, HDC dc);
void RedrawSlider(HWND hwnd);

}  // namespace skin
