#pragma once
// A reference to one unit of one window; its tag is the unit kind's library type.
#include <cstdint>

#include "runtime/values/type_tag.h"

namespace runtime {

struct UnitRef {
  std::int32_t window_id = 0;
  std::int32_t unit_id = 0;
  TypeTag kind = tags::None;

  friend bool operator==(const UnitRef&, const UnitRef&) = default;
};

}  // namespace runtime
