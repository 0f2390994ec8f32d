#pragma once
// Typed property access for application code: a unit named by its UnitRef, a property by its
// index. Reading or writing a kind property of a window that is not loaded is the runtime's
// fatal access error, as with the raw entries of FormsRuntime.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/values/unit_ref.h"

namespace forms {

// Texts are the runtime's 8-bit texts; an empty text reads as "".
std::string ReadTextProperty(const runtime::UnitRef& unit, int property);
void WriteTextProperty(const runtime::UnitRef& unit, int property, std::string_view text);
// Integers, colours and bools in the low dword.
std::int32_t ReadIntProperty(const runtime::UnitRef& unit, int property);
void WriteIntProperty(const runtime::UnitRef& unit, int property, std::int32_t value);

// The kind property indices the board uses.
namespace property {
inline constexpr int kTag = 4;
inline constexpr int kWindowCaption = 8;
inline constexpr int kButtonCaption = 10;
inline constexpr int kDialogFileName = 10;
inline constexpr int kComboCurrentIndex = 19;
inline constexpr int kSliderPosition = 19;
inline constexpr int kPageControlCurrentPage = 12;
}  // namespace property

}  // namespace forms
