#pragma once
// What a unit made at run time from another one starts with.
#include <cstdint>
#include <optional>
#include <vector>

#include "forms/ids.h"
#include "forms/unit_list.h"

namespace forms {

// The record body of unit `index` with its settings and kind data but without its event
// bindings, its children, its redirection and its run-time slots.
std::vector<std::uint8_t> CopiedUnitBody(const UnitList& units, std::size_t index);
// An id of the same class as `like` that no unit of the list has; none when the class is full.
std::optional<UnitId> FreeUnitId(const UnitList& units, UnitId like);

}  // namespace forms
