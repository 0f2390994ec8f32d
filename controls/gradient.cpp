#include "controls/gradient.h"

#include <algorithm>

namespace controls {
namespace {

// Position 0..span along the gradient's direction, counted from its first colour.
int Along(int mode, int width, int height, int x, int y, int& span) {
  switch (mode) {
    case 1: span = height - 1; return y;
    case 5: span = height - 1; return height - 1 - y;
    case 2: span = width - 1; return x;
    case 6: span = width - 1; return width - 1 - x;
    case 3: span = width + height - 2; return x + y;
    case 7: span = width + height - 2; return (width - 1 - x) + (height - 1 - y);
    case 4: span = width + height - 2; return x + (height - 1 - y);
    default: span = width + height - 2; return (width - 1 - x) + y;  // 8
  }
}

std::uint32_t Channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

}  // namespace

std::uint32_t GradientColour(int mode, int width, int height, int x, int y,
                             std::span<const std::uint32_t> colours) {
  if (colours.size() < 2) return colours.empty() ? 0 : colours[0] & 0xFFFFFF;
  int span = 0;
  const int at = Along(std::clamp(mode, 1, 8), width, height, x, y, span);
  if (span <= 0) return colours[0] & 0xFFFFFF;
  // Scaled by the number of sections so each colour pair gets an equal share, in integers.
  const long long sections = static_cast<long long>(colours.size() - 1);
  const long long scaled = static_cast<long long>(std::clamp(at, 0, span)) * sections;
  const std::size_t section = static_cast<std::size_t>(std::min(scaled / span, sections - 1));
  const long long inside = scaled - static_cast<long long>(section) * span;  // 0..span
  const std::uint32_t from = colours[section];
  const std::uint32_t to = colours[section + 1];
  std::uint32_t result = 0;
  for (int shift : {0, 8, 16}) {
    const long long a = Channel(from, shift);
    const long long b = Channel(to, shift);
    const long long value = a + ((b - a) * inside + (b >= a ? span / 2 : -(span / 2))) / span;
    result |= static_cast<std::uint32_t>(std::clamp(value, 0LL, 255LL)) << shift;
  }
  return result;
}

}  // namespace controls
