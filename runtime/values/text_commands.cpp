#include "runtime/values/text_commands.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace runtime {
namespace {

unsigned char FoldCase(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Whether `search` stands at byte `at` of `text`. Case folding applies to single-byte
// characters only: a trail byte that happens to look like a letter is not one.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view search, bool ignore_case) {
  if (at + search.size() > text.size()) return false;
  for (std::size_t i = 0; i < search.size();) {
    const auto wanted = static_cast<unsigned char>(search[i]);
    const auto found = static_cast<unsigned char>(text[at + i]);
    if (CharacterLength(search, i) == 2) {
      if (wanted != found || search[i + 1] != text[at + i + 1]) return false;
      i += 2;
      continue;
    }
    if (ignore_case ? FoldCase(wanted) != FoldCase(found) : wanted != found) return false;
    ++i;
  }
  return true;
}

// Searches candidates from `begin` (0-based) character by character; a match must end by `end`.
std::int32_t Search(std::string_view text, std::string_view search, std::size_t begin,
                    std::size_t end, bool ignore_case, bool want_last) {
  if (begin >= end) return -1;
  if (search.empty()) return 1;
  std::int32_t found = -1;
  for (std::size_t position = begin; position < end;) {
    const auto byte = static_cast<unsigned char>(text[position]);
    if (IsLeadByte(byte) && position + 1 >= text.size()) break;  // a lone lead byte at the end
    if (position + search.size() <= end && MatchesAt(text, position, search, ignore_case)) {
      found = static_cast<std::int32_t>(position + 1);
      if (!want_last) return found;
    }
    position += IsLeadByte(byte) ? 2 : 1;
  }
  return found;
}

bool IsSpaceAt(std::string_view text, std::size_t position, std::size_t length) {
  if (length == 1) return text[position] == ' ';
  return static_cast<unsigned char>(text[position]) == 0xA1 &&
         static_cast<unsigned char>(text[position + 1]) == 0xA1;
}

}  // namespace

TextValue TextLeft(TextRef text, std::int32_t n) {
  if (n <= 0) return {};
  return TextValue(text.view().substr(0, static_cast<std::size_t>(n)));
}

TextValue TextMiddle(TextRef text, std::int32_t start, std::int32_t n) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || n <= 0) return {};
  return TextValue(text.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

TextValue CharFromCode(std::uint8_t code) {
  const char byte = static_cast<char>(code);
  return TextValue(std::string_view(&byte, 1));
}

std::int32_t TextLength(TextRef text) { return static_cast<std::int32_t>(text.size()); }

TextValue Spaces(std::int32_t n) {
  if (n < 1) return {};
  return TextValue(std::string(static_cast<std::size_t>(n), ' '));
}

TextValue TrimText(TextRef text) {
  const std::string_view bytes = text.view();
  std::size_t position = 0;
  while (position < bytes.size()) {
    const std::size_t length = CharacterLength(bytes, position);
    if (!IsSpaceAt(bytes, position, length)) break;
    position += length;
  }
  const std::size_t first = position;
  std::size_t end = first;
  // Forward again, so that the end is found on character boundaries.
  while (position < bytes.size()) {
    const std::size_t length = CharacterLength(bytes, position);
    const bool space = IsSpaceAt(bytes, position, length);
    position += length;
    if (!space) end = position;
  }
  return TextValue(bytes.substr(first, end - first));
}

std::int32_t FindText(TextRef text, TextRef search, std::optional<std::int32_t> start,
                      bool ignore_case) {
  const std::int32_t from = std::max(start.value_or(1), 1);
  if (static_cast<std::size_t>(from) > text.size()) return -1;
  return Search(text.view(), search.view(), static_cast<std::size_t>(from - 1), text.size(),
                ignore_case, false);
}

std::int32_t FindTextBackward(TextRef text, TextRef search, std::optional<std::int32_t> start,
                              bool ignore_case) {
  std::size_t end = text.size();
  if (start && *start <= static_cast<std::int64_t>(text.size())) {
    end = static_cast<std::size_t>(std::max(*start - 1, 0));
  }
  return Search(text.view(), search.view(), 0, end, ignore_case, true);
}

TextValue ReplaceText(TextRef text, TextRef search, TextRef replacement,
                      std::optional<std::int32_t> start, std::optional<std::int32_t> count,
                      bool case_sensitive) {
  const std::string_view bytes = text.view();
  const std::string_view wanted = search.view();
  if (bytes.empty()) return {};
  const std::int32_t from = std::max(start.value_or(1), 1);
  if (wanted.empty() || static_cast<std::size_t>(from) > bytes.size() || count == 0) {
    return TextValue(bytes);
  }
  // Negative counts mean no limit, like an omitted one.
  std::int64_t remaining = count && *count > 0 ? *count : -1;
  std::size_t position = static_cast<std::size_t>(from - 1);
  std::string result(bytes.substr(0, position));
  while (position < bytes.size()) {
    if (bytes.size() - position < wanted.size() || remaining == 0) {
      result += bytes.substr(position);
      break;
    }
    if (MatchesAt(bytes, position, wanted, !case_sensitive)) {
      result += replacement.view();
      position += wanted.size();
      if (remaining > 0) --remaining;
      continue;
    }
    const std::size_t length = CharacterLength(bytes, position);
    result += bytes.substr(position, length);
    position += length;
  }
  return TextValue(result);
}

Array<TextValue> SplitText(TextRef text, TextRef separator, std::optional<std::int32_t> maximum) {
  const std::string_view bytes = text.view();
  const std::string_view cut_at = separator.view();
  if (bytes.empty() || maximum == 0) return {};
  Array<TextValue> parts;
  if (cut_at.empty()) {
    parts.Append(TextValue(bytes));
    return parts;
  }
  const bool limited = maximum && *maximum > 0;
  auto exhausted = [&] { return limited && parts.count() >= static_cast<std::size_t>(*maximum); };
  std::size_t cut = 0;
  std::size_t position = 0;
  while (position < bytes.size() && !exhausted()) {
    if (MatchesAt(bytes, position, cut_at, false)) {
      parts.Append(TextValue(bytes.substr(cut, position - cut)));
      position += cut_at.size();
      cut = position;
      continue;
    }
    position += CharacterLength(bytes, position);
  }
  if (cut < bytes.size() && !exhausted()) parts.Append(TextValue(bytes.substr(cut)));
  return parts;
}

}  // namespace runtime
