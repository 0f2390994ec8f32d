#pragma once
// Which units an enumeration returns: name prefix, kind name and a range of numeric tags.
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

struct UnitFilter {
  std::optional<std::string> namePrefix;  // byte-wise, case-sensitive
  std::optional<std::string> kindName;    // exact; empty matches every kind
  // The tag is read as a number by the runtime's text-to-integer rule.
  std::int64_t smallestTag = std::numeric_limits<std::int32_t>::min();
  std::int64_t largestTag = std::numeric_limits<std::int32_t>::max();

  bool Matches(std::string_view name, std::string_view kind, std::string_view tag) const;
};

}  // namespace forms
