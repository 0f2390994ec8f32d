#include "runtime/values/conversion_commands.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "runtime/values/array_block.h"
#include "runtime/values/date_time.h"

namespace runtime {
namespace {

bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string HalfWidthBytes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharacterLength(text, i);
    if (length == 1) {
      result += text[i++];
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      result += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      result += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      result += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      result += '*';
    } else {
      result.append(text.substr(i, 2));
    }
    i += 2;
  }
  return result;
}

// Leading white space and a sign; `at` is left at the first digit.
bool ReadSign(std::string_view text, std::size_t& at) {
  at = 0;
  while (at < text.size() && IsWhiteSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  return negative;
}

// Saturates at the range, like the C library's atoi on this platform.
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

TextRef TextOf(const ValueCell& value) { return TextRef(static_cast<const char*>(value.Pointer())); }

}  // namespace

std::int32_t DecimalInteger(std::string_view text) { return ReadInteger<std::int32_t>(text); }
std::int64_t DecimalLong(std::string_view text) { return ReadInteger<std::int64_t>(text); }

double DecimalDouble(std::string_view text) {
  std::size_t i = 0;
  const bool negative = ReadSign(text, i);
  const std::size_t number = i;
  std::size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t exponent = i + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (exponent < text.size() && IsDigit(text[exponent])) {
      i = exponent;
      while (i < text.size() && IsDigit(text[i])) ++i;
    }
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data() + number, text.data() + i, value);
  if (result.ec == std::errc::result_out_of_range) {
    // The C library knows how to round these: to infinity or towards 0.
    value = std::strtod(std::string(text.substr(number, i - number)).c_str(), nullptr);
  }
  return negative ? -value : value;
}

namespace {

std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

std::string Digits(double value, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  return std::string(buffer, result.ptr);
}

std::string DateTimeText(double date) {
  const CivilTime time = SplitDateTime(date);
  std::string text = std::to_string(time.year) + "年" + std::to_string(time.month) + "月" +
                     std::to_string(time.day) + "日";
  if (time.second != 0) {
    text += std::to_string(time.hour) + "时" + std::to_string(time.minute) + "分" +
            std::to_string(time.second) + "秒";
  } else if (time.minute != 0) {
    text += std::to_string(time.hour) + "时" + std::to_string(time.minute) + "分";
  } else if (time.hour != 0) {
    text += std::to_string(time.hour) + "时";
  }
  return text;
}

// Members of an indirect array of a numeric kind, as bytes; empty for other kinds.
std::span<const std::uint8_t> IndirectArrayBytes(const ValueCell& value) {
  const TypeTag kind = PlainTag(value.tag);
  if (!IsIndirect(value.tag) || !IsNumericKind(kind) || value.Pointer() == nullptr) return {};
  return ArrayMemberBytes(value.Pointer(), kind);
}

// The bytes a scalar of a basic kind holds in memory, in order.
std::span<const std::uint8_t> ScalarBytes(const ValueCell& value, std::uint64_t& storage) {
  storage = value.Bits();
  const std::size_t size = KindSize(value.tag);
  if (ClassOf(value.tag) != TagClass::Basic || IsIndirect(value.tag) || size == 0) return {};
  return {reinterpret_cast<const std::uint8_t*>(&storage), size};
}

}  // namespace

std::int32_t TextToInteger(std::string_view text) { return DecimalInteger(HalfWidthBytes(text)); }

TextValue HalfWidthText(TextRef text) { return TextValue(HalfWidthBytes(text.view())); }

std::int32_t ToInteger(const ValueCell& value) {
  switch (value.tag) {
    case tags::Bool: return value.low != 0 ? 1 : 0;
    case tags::Text: return TextToInteger(TextOf(value).view());
    case tags::Byte: return static_cast<std::uint8_t>(value.low);
    case tags::Short: return static_cast<std::int16_t>(value.low);
    case tags::Integer: case tags::Long: case tags::Subprogram: return static_cast<std::int32_t>(value.low);
    case tags::Float: return TruncateToInt32(value.AsFloat());
    case tags::Double: return TruncateToInt32(value.AsDouble());
    default: return 0;
  }
}

double ToDouble(const ValueCell& value) {
  switch (value.tag) {
    case tags::Bool: return value.low != 0 ? 1.0 : 0.0;
    case tags::Byte: return static_cast<std::uint8_t>(value.low);
    case tags::Short: return static_cast<std::int16_t>(value.low);
    case tags::Integer: return value.AsInteger();
    case tags::Long: return static_cast<double>(value.AsLong());
    case tags::Subprogram: return static_cast<double>(value.Bits());
    case tags::Text: return DecimalDouble(HalfWidthBytes(TextOf(value).view()));
    case tags::Float: return value.AsFloat();
    case tags::Double: return value.AsDouble();
    default: return 0.0;
  }
}

TextValue ToText(const ValueCell& value) {
  switch (value.tag) {
    case tags::Byte: return TextValue(std::to_string(static_cast<std::uint8_t>(value.low)));
    case tags::Short: return TextValue(std::to_string(static_cast<std::int16_t>(value.low)));
    case tags::Integer: return TextValue(std::to_string(value.AsInteger()));
    case tags::Long: return TextValue(std::to_string(value.AsLong()));
    case tags::Float: return TextValue(Digits(value.AsFloat(), 6));
    case tags::Double: return TextValue(Digits(value.AsDouble(), 13));
    case tags::Bool: return TextValue(value.low != 0 ? "真" : "假");
    case tags::DateTime: return TextValue(DateTimeText(value.AsDouble()));
    case tags::Text: return TextValue(TextOf(value).view());
    case tags::ByteSet: {
      const ByteSetRef bytes = ByteSetRef::FromBlock(value.Pointer());
      // The TextValue constructor stops at the first zero byte.
      return TextValue(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    default: {
      const auto bytes = IndirectArrayBytes(value);
      return TextValue(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
  }
}

ByteSet ToByteSet(const ValueCell& value) {
  if (value.tag == tags::Text) {
    const TextRef text = TextOf(value);
    return ByteSet({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  }
  if (value.tag == tags::ByteSet) return ByteSet(ByteSetRef::FromBlock(value.Pointer()).span());
  if (IsIndirect(value.tag)) return ByteSet(IndirectArrayBytes(value));
  std::uint64_t storage;
  return ByteSet(ScalarBytes(value, storage));
}

}  // namespace runtime
