#pragma once
// The skinned combo box: white over the window's background, a thin border that takes the accent
// under the mouse or with the focus, a rounded drop button with its arrow, and the selection's
// text. Its drop-down list keeps its own look.
#include <windows.h>

#include <string>
#include <vector>

#include "skin/skin_engine.h"

namespace skin {

struct ComboBoxRecord : ControlRecord {
  static constexpr ControlKind kKind = ControlKind::kComboBoxes;
  bool focused = false;
  bool hot = false;
  int selection = -1;  // CB_ERR when nothing is selected
  std::string text;    // the selection's text, in the program's code page
};

// The combo-box kind for SetChildKinds.
std::vector<ChildKind> ComboBoxKinds();

LRESULT CALLBACK ComboBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the whole combo box, border included, onto dc (a DC of its whole window).
void DrawComboBox(HWND hwnd, HDC dc);
void RedrawComboBox(HWND hwnd);

inline constexpr COLORREF kComboKeyColour = 0xFF00FF;

}  // namespace skin
