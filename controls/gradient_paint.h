#pragma once
// A gradient fill (gradient.h) painted into a DC, tile by tile: the label's gradient background
// and the drawing panel's GradientFill are the same fill.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>

namespace controls {

inline constexpr int kGradientTile = 50;

// Paints the part `visible` of the gradient that covers `whole` in `mode`, in tiles of at most
// kGradientTile pixels a side; `painted`, when given, gets each tile once it is in the DC.
void PaintGradient(HDC dc, const RECT& whole, const RECT& visible, int mode, std::span<const std::uint32_t> colours,
                   const std::function<void(const RECT&)>& painted = {});

}  // namespace controls
