#pragma once
// Labels that show the window's background through them: the label paints itself as usual and
// every pixel of its key colour (the button face) is replaced by the background behind it.
#include <windows.h>

namespace skin {

LRESULT CALLBACK LabelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin
