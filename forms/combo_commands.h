#pragma once
// The combo-box commands of the board's code: items and their values of a combo box unit.
// Indices are 0-based. A unit whose window is not loaded has no items.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/values/unit_ref.h"

namespace forms {

std::int32_t ComboCount(const runtime::UnitRef& combo);
// -1 when the index is outside 0..count-1.
std::int32_t ComboItemValue(const runtime::UnitRef& combo, std::int32_t index);
// False when the box refuses (an index outside the items).
bool SetComboItemValue(const runtime::UnitRef& combo, std::int32_t index, std::int32_t value);
// The item's text (GBK bytes); empty outside 0..count-1.
std::string ComboItemText(const runtime::UnitRef& combo, std::int32_t index);
// The new item's index, or -1 when the box refused it.
std::int32_t AddComboItem(const runtime::UnitRef& combo, std::string_view text, std::int32_t value = 0);

}  // namespace forms
