#include "runtime/services/dialog_values.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "runtime/values/conversion_commands.h"
#include "runtime/values/text_value.h"

namespace services {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Leading blanks and a sign; `at` is left at the first digit.
bool ReadSign(std::string_view text, std::size_t& at) {
  at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  return negative;
}

template <typename Integer>
Integer ReadInteger(std::string_view text) {
  std::size_t at = 0;
  const bool negative = ReadSign(text, at);
  // Accumulated towards the sign's side, so the most negative value is reachable.
  constexpr Integer kMax = std::numeric_limits<Integer>::max();
  constexpr Integer kMin = std::numeric_limits<Integer>::min();
  Integer value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    const int digit = text[at] - '0';
    if (negative) {
      if (value < (kMin + digit) / 10) return kMin;
      value = value * 10 - digit;
    } else {
      if (value > (kMax - digit) / 10) return kMax;
      value = value * 10 + digit;
    }
  }
  return value;
}

template <typename Kind>
void Put(const runtime::ValueCell& variable, Kind value) {
  std::memcpy(variable.Pointer(), &value, sizeof value);
}

}  // namespace

std::string MessageText(const runtime::ValueCell& message) {
  switch (message.tag) {
    case runtime::tags::Text:
    case runtime::tags::Byte: case runtime::tags::Short: case runtime::tags::Integer:
    case runtime::tags::Long: case runtime::tags::Float: case runtime::tags::Double:
    case runtime::tags::Bool: case runtime::tags::DateTime:
      return std::string(runtime::ToText(message).view());
    default:
      return {};
  }
}

std::int32_t InputInteger(std::string_view text) { return ReadInteger<std::int32_t>(text); }
std::int64_t InputLong(std::string_view text) { return ReadInteger<std::int64_t>(text); }

double InputDouble(std::string_view text) {
  std::size_t at = 0;
  const bool negative = ReadSign(text, at);
  const std::size_t number = at;
  std::size_t digits = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) ++digits;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && IsDigit(text[at]); ++at) ++digits;
  }
  if (digits == 0) return 0.0;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    std::size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && IsDigit(text[exponent])) {
      for (at = exponent; at < text.size() && IsDigit(text[at]);) ++at;
    }
  }
  const std::string decimal(text.substr(number, at - number));
  // strtod rounds what from_chars calls out of range (to infinity or towards 0).
  const double value = std::strtod(decimal.c_str(), nullptr);
  return negative ? -value : value;
}

bool StoreInput(std::string_view text, const runtime::ValueCell& variable) {
  if (!runtime::IsIndirect(variable.tag) || variable.Pointer() == nullptr) return false;
  switch (runtime::PlainTag(variable.tag)) {
    case runtime::tags::Text: {
      auto* slot = static_cast<char**>(variable.Pointer());
      runtime::TextValue::Adopt(*slot);  // the old text goes now
      *slot = runtime::TextValue(text).release();
      return true;
    }
    case runtime::tags::Byte: Put(variable, static_cast<std::uint8_t>(InputInteger(text))); return true;
    case runtime::tags::Short: Put(variable, static_cast<std::int16_t>(InputInteger(text))); return true;
    case runtime::tags::Integer: Put(variable, InputInteger(text)); return true;
    case runtime::tags::Long: Put(variable, InputLong(text)); return true;
    case runtime::tags::Float: Put(variable, static_cast<float>(InputDouble(text))); return true;
    case runtime::tags::Double: Put(variable, InputDouble(text)); return true;
    default: return false;
  }
}

}  // namespace services
