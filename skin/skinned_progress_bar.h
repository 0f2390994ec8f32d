#pragma once
// Skinned progress bars: a rounded groove over the window's background and the done part as an
// accent bar with a gloss.
#include <windows.h>

#include <vector>

#include "skin/skin_engine.h"

namespace skin {

std::vector<ChildKind> ProgressBarKinds();

LRESULT CALLBACK ProgressBarProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void DrawProgressBar(HWND hwnd, HDC dc);

}  // namespace skin
