#include "forms/unit_filter.h"

namespace forms {

std::int64_t TagNumber(std::string_view tag) {
  std::int64_t value = 0;
  for (char c : tag) {
    if (c < '0' || c > '9') break;
    // Past the 32-bit range the value stays above every bound a caller can give.
    if (value < (std::int64_t{1} << 40)) value = value * 10 + (c - '0');
  }
  return value;
}

bool UnitFilter::Matches(std::string_view name, std::string_view kind, std::string_view tag) const {
  if (namePrefix && !name.starts_with(*namePrefix)) return false;
  if (kindName && kind != *kindName) return false;
  const std::int64_t number = TagNumber(tag);
  return number >= smallestTag && number <= largestTag;
}

}  // namespace forms
