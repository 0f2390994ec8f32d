#include "runtime/values/static_ranges.h"

#include "runtime/values/array_block.h"

namespace runtime {

StaticRanges::StaticRanges() { Add(ConstantEmptyArray(), 2 * sizeof(std::int32_t)); }

void StaticRanges::Add(const void* start, std::size_t size) {
  if (start == nullptr || size == 0) return;
  const auto* first = static_cast<const std::uint8_t*>(start);
  ranges_.push_back({first, first + size});
}

std::optional<const std::uint8_t*> StaticRanges::EndOf(const void* pointer) const {
  // Compared as integers: the pointers belong to unrelated objects.
  const auto address = reinterpret_cast<std::uintptr_t>(pointer);
  for (const Range& range : ranges_) {
    if (address >= reinterpret_cast<std::uintptr_t>(range.start) &&
        address < reinterpret_cast<std::uintptr_t>(range.end)) {
      return range.end;
    }
  }
  return std::nullopt;
}

StaticRanges& ProcessStaticRanges() {
  static StaticRanges ranges;
  return ranges;
}

}  // namespace runtime
