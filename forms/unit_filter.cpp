#include "forms/unit_filter.h"

#include "runtime/values/conversion_commands.h"

namespace forms {

bool UnitFilter::Matches(std::string_view name, std::string_view kind, std::string_view tag) const {
  if (namePrefix && !name.starts_with(*namePrefix)) return false;
  // An empty kind name asks for every kind, as no kind name does.
  if (kindName && !kindName->empty() && kind != *kindName) return false;
  const std::int64_t number = runtime::TextToInteger(tag);
  return number >= smallestTag && number <= largestTag;
}

}  // namespace forms
