#pragma once

#include <cstdint>

namespace forms {

using WindowId = std::uint32_t;
using UnitId = std::uint32_t;
using KindId = std::uint32_t;

// Low 24 bits not all zero and bits 24..27 not zero.
constexpr bool IsValidId(std::uint32_t id) {
  return (id & 0x00FFFFFFu) != 0 && (id & 0x0F000000u) != 0;
}
constexpr bool NamesUnit(std::uint32_t id) { return (id & 0x0F000000u) == 0x06000000u; }
// The unit that stands for the window itself (top nibble 0).
constexpr bool IsWindowUnitId(UnitId id) { return (id & 0xF0000000u) == 0; }
constexpr bool IsControlId(UnitId id) { return (id & 0xF0000000u) == 0x10000000u; }
// Menu items are told apart by their id class, not by their kind.
constexpr bool IsMenuItemId(UnitId id) { return (id & 0xF0000000u) == 0x20000000u; }

}  // namespace forms
