#pragma once
// Spectrum bars with falling peak marks, drawn from 128 FFT magnitudes.
#include <windows.h>

#include <array>
#include <span>

namespace audio {

struct SpectrumLook {
  COLORREF background = RGB(0, 0, 0);
  COLORREF bar = RGB(0, 200, 80);
  COLORREF peak = RGB(255, 255, 255);
  int barWidth = 3;
  int gap = 1;
};

// Peak heights in pixels, one per bar, kept by the caller between drawings.
using SpectrumPeaks = std::array<int, 128>;

// How far a peak mark falls per drawing when the bar under it has dropped.
inline constexpr int kPeakFallPixels = 2;

// Bar i shows bin i, its height the square root of the magnitude (1.0 fills the area), so
// quiet bins stay visible. As many bars as fit, from the left.
void DrawSpectrumBars(HDC dc, const RECT& area, std::span<const float, 128> bins, SpectrumPeaks& peaks,
                      const SpectrumLook& look);

}  // namespace audio
