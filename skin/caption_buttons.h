#pragma once
// The caption buttons of a skinned window: which there are, in which order, with which glyphs.
#include <vector>

#include "skin/skinned_window.h"

namespace skin {

// Help, main menu, minimize, maximize/restore and close, each when the window asks for it.
std::vector<CaptionButton> MakeCaptionButtons(const SkinnedWindow& window);
std::vector<int> CaptionButtonWidths(const SkinnedWindow& window);

}  // namespace skin
