#pragma once
// Skinned edits: their border drawn over the window's background, a white veil inside it, and
// the accent while the mouse is over them or they have the focus. The text area stays native.
#include <windows.h>

#include <vector>

#include "skin/skin_engine.h"

namespace skin {

struct EditRecord : ControlRecord {
  static constexpr ControlKind kKind = ControlKind::kEdits;
  bool hot = false;
  bool focused = false;
};

std::vector<ChildKind> EditKinds();

LRESULT CALLBACK EditProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the non-client edge of the edit on its window DC; scroll bars are left alone.
void DrawEditBorder(HWND hwnd);

}  // namespace skin
