#pragma once

#include <cstdint>
#include <span>

namespace forms {

// The window resource built from forms/layout and carried in the program's constant data.
std::span<const std::uint8_t> CarriedWindowResource();

}  // namespace forms
