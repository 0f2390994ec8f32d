#pragma once
// Conversions between kinds. They take a cell because the argument's kind travels with it:
// any basic value, or for ToText / ToByteSet an indirect array (ValueCell::IndirectArray).
#include <cstdint>
#include <string_view>

#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"
#include "runtime/values/value_cell.h"

namespace runtime {

// Full-width GBK digits, letters and signs (lead byte A3), the full-width space, "～" and
// "＊" become their single-byte forms; everything else stays.
TextValue HalfWidthText(TextRef text);

// A decimal number from the beginning of a text, as it stands (no half-width step): leading white
// space, an optional sign and the digits up to the first other byte; 0 without digits. The
// integers saturate at their range.
std::int32_t DecimalInteger(std::string_view text);
std::int64_t DecimalLong(std::string_view text);
// The same with an optional fraction and exponent; no "inf", "nan" or hexadecimal forms.
double DecimalDouble(std::string_view text);

std::int32_t ToInteger(const ValueCell& value);
// A text read as ToInteger reads it: made half-width, then DecimalInteger.
std::int32_t TextToInteger(std::string_view text);
double ToDouble(const ValueCell& value);
TextValue ToText(const ValueCell& value);
ByteSet ToByteSet(const ValueCell& value);

}  // namespace runtime
