#pragma once
// Byte-set commands, and the two that read or write raw memory by address.
#include <cstdint>
#include <optional>

#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"
#include "runtime/values/value.h"
#include "runtime/values/value_cell.h"

namespace runtime {

// Kinds ReadTypedData understands.
namespace data_kinds {
inline constexpr std::int32_t Byte = 1;
inline constexpr std::int32_t Short = 2;
inline constexpr std::int32_t Integer = 3;
inline constexpr std::int32_t Long = 4;
inline constexpr std::int32_t Float = 5;
inline constexpr std::int32_t Double = 6;
inline constexpr std::int32_t Bool = 7;
inline constexpr std::int32_t DateTime = 8;
inline constexpr std::int32_t Subprogram = 9;
inline constexpr std::int32_t Text = 10;
}  // namespace data_kinds

std::int32_t ByteSetLength(ByteSetRef bytes);
// A copy of the zero-terminated bytes at `address`; null gives the empty text.
TextValue TextFromPointer(const void* address);
// A copy of `length` bytes at `address`; length <= 0 or a null address gives the empty set.
ByteSet ByteSetFromPointer(const void* address, std::int32_t length);
// The last n bytes, n clamped to 0..length.
ByteSet ByteSetRight(ByteSetRef bytes, std::int32_t n);
// At most n bytes from byte max(start, 1); nothing when start lies beyond the end.
ByteSet ByteSetMiddle(ByteSetRef bytes, std::int32_t start, std::int32_t n);
ByteSet ZeroBytes(std::int32_t n);

// Reads a value of `kind` (data_kinds) at the 1-based `*position` (1 without a variable).
// Missing bytes read as zeros, a text ends at its zero byte. The position then moves past
// what was read, or becomes -1 once nothing is left after it. A kind outside 1..10 is fatal.
Value ReadTypedData(ByteSetRef bytes, std::int32_t kind, std::int32_t* position = nullptr);

// Copies the value's bytes to `address`: a byte set's bytes, an indirect numeric array's
// members, a text's bytes with its zero byte, or a scalar's 1..8 bytes; at most `length`
// bytes when it is given and not negative. A null address writes nothing.
void WriteToAddress(const ValueCell& value, void* address, std::optional<std::int32_t> length = std::nullopt);

}  // namespace runtime
