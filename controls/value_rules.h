#pragma once
// The limits the kinds put on stored and shown values.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace controls {

// A slider's range, whichever of Minimum and Maximum is the larger.
struct SliderRange {
  std::int32_t low = 0;
  std::int32_t high = 0;
};
constexpr SliderRange OrderedRange(std::int32_t minimum, std::int32_t maximum) {
  return minimum <= maximum ? SliderRange{minimum, maximum} : SliderRange{maximum, minimum};
}
constexpr std::int32_t ClampToRange(std::int32_t value, SliderRange range) {
  return std::clamp(value, range.low, range.high);
}
// What a written Position keeps.
constexpr std::int32_t StoredSliderPosition(std::int32_t value) { return std::clamp(value, 0, 32767); }
// Line size, page size and tick frequency: at most the span of the range, never negative.
constexpr std::int32_t LimitToSpan(std::int32_t value, SliderRange range) {
  const std::int64_t span = static_cast<std::int64_t>(range.high) - range.low;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, span));
}

inline constexpr std::int32_t kDroppedListHeight = 160;
// Drop-down types (1 and 2) are created as high as their dropped list.
constexpr std::int32_t CreatedComboHeight(std::uint32_t comboType, std::int32_t height) {
  return comboType == 1 || comboType == 2 ? std::max(height, kDroppedListHeight) : height;
}
// A current index past the last item selects the last one; below -1 selects nothing.
constexpr std::int32_t ClampComboIndex(std::int32_t index, std::int32_t count) {
  return std::clamp(index, -1, std::max(count - 1, -1));
}

// A label's frame width never reads below 5.
constexpr std::uint32_t LabelFrameWidth(std::uint32_t stored) {
  return static_cast<std::int32_t>(stored) < 5 ? 5 : stored;
}

// The colours of a gradient that are set (not the default colour); a gradient needs two.
std::vector<std::uint32_t> SetColours(std::uint32_t a, std::uint32_t b, std::uint32_t c);

// One drawing of a label's caption: offset and colour, in order.
struct TextPass {
  int dx = 0;
  int dy = 0;
  std::uint32_t colour = 0;
};
// The passes of text effect 0..3 (anything else draws once).
std::vector<TextPass> TextPasses(std::uint32_t effect, std::uint32_t textColour);

}  // namespace controls
