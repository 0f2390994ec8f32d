#include "audio/level_bars.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

namespace audio {

namespace {
struct BrushDeleter {
  void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushDeleter>;
}  // namespace

void DrawSpectrumBars(HDC dc, const RECT& area, std::span<const float, 128> bins, SpectrumPeaks& peaks,
                      const SpectrumLook& look) {
  Brush background(CreateSolidBrush(look.background));
  Brush bar(CreateSolidBrush(look.bar));
  Brush peak(CreateSolidBrush(look.peak));
  FillRect(dc, &area, background.get());
  const int height = area.bottom - area.top;
  const int step = std::max(1, look.barWidth) + std::max(0, look.gap);
  const int width = std::max(1, look.barWidth);
  for (int i = 0; i < 128; ++i) {
    const int left = area.left + i * step;
    if (left + width > area.right) break;
    const float magnitude = std::clamp(bins[static_cast<size_t>(i)], 0.0f, 1.0f);
    const int bar_height = static_cast<int>(std::lround(std::sqrt(magnitude) * static_cast<float>(height)));
    int& peak_height = peaks[static_cast<size_t>(i)];
    peak_height = std::max(bar_height, peak_height - kPeakFallPixels);
    peak_height = std::clamp(peak_height, 0, height);
    if (bar_height > 0) {
      RECT column{left, area.bottom - bar_height, left + width, area.bottom};
      FillRect(dc, &column, bar.get());
    }
    if (peak_height > 0) {
      // The mark sits on top of where the bar last reached.
      RECT mark{left, area.bottom - peak_height, left + width, area.bottom - peak_height + 1};
      FillRect(dc, &mark, peak.get());
    }
  }
}

}  // namespace audio
