#pragma once
// Text commands. Lengths and positions count bytes from 1; a double-byte character counts
// two and is never split by a search. Every text returned is a new block the caller owns.
#include <cstdint>
#include <optional>

#include "runtime/values/array_block.h"
#include "runtime/values/text_value.h"

namespace runtime {

TextValue TextLeft(TextRef text, std::int32_t n);
// n bytes from byte `start`; empty when start is outside the text or n <= 0.
TextValue TextMiddle(TextRef text, std::int32_t start, std::int32_t n);
TextValue CharFromCode(std::uint8_t code);
std::int32_t TextLength(TextRef text);
TextValue Spaces(std::int32_t n);
// Drops leading and trailing spaces and full-width spaces.
TextValue TrimText(TextRef text);

// Position of the first occurrence at or after `start`, -1 when there is none.
std::int32_t FindText(TextRef text, TextRef search, std::optional<std::int32_t> start = std::nullopt,
                      bool ignore_case = false);
// Position of the last occurrence lying wholly before byte `start` (the whole text without one).
std::int32_t FindTextBackward(TextRef text, TextRef search,
                              std::optional<std::int32_t> start = std::nullopt,
                              bool ignore_case = false);
// Replaces up to `count` occurrences (all without one) from byte `start` on. Unless
// `case_sensitive`, ASCII letters match in either case.
TextValue ReplaceText(TextRef text, TextRef search, TextRef replacement = {},
                      std::optional<std::int32_t> start = std::nullopt,
                      std::optional<std::int32_t> count = std::nullopt, bool case_sensitive = false);
// The parts between separators, at most `maximum` of them (no limit without one or when it
// is negative). A separator at the very end gives no empty last part.
Array<TextValue> SplitText(TextRef text, TextRef separator = ",",
                           std::optional<std::int32_t> maximum = std::nullopt);

}  // namespace runtime
