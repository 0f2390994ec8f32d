#pragma once
// The colour of one pixel of a gradient fill: modes 1 and 5 run down and up, 2 and 6 right and
// left, 3 and 7 along the falling diagonal, 4 and 8 along the rising one.
#include <cstdint>
#include <span>

namespace controls {

// Colours are 0x00BBGGRR; at least two. `width` and `height` are the whole rectangle's.
std::uint32_t GradientColour(int mode, int width, int height, int x, int y,
                             std::span<const std::uint32_t> colours);

}  // namespace controls
