#pragma once
// The main window's skin: frame, panels, the category strip and the transparent labels, in the
// order the start-up applies them.
#include <windows.h>

namespace board {

void AttachBoardSkin(HWND mainWindow);

}  // namespace board
