#pragma once
// The look of a tinted panel: its tinted background, its outline and, for a group box, its caption.
#include <windows.h>

namespace skin {

class SkinEngine;

// Paints the whole panel onto dc with one copy; false when it has no skinned owner.
bool PaintPanel(const SkinEngine& engine, HWND panel, HDC dc);

}  // namespace skin
