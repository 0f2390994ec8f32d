#include "forms/file_dialog_filter.h"

namespace forms {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
// The code page's own lead bytes (GBK: 0x81 to 0xFE), as the system reads the filter; the
// runtime's text commands count every byte from 0x80 up as one (runtime::IsLeadByte).
bool IsCodePageLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace

std::string FileDialogFilter(std::string_view filter) {
  while (!filter.empty() && IsBlank(filter.back())) filter.remove_suffix(1);
  if (filter.empty()) return {};

  // Walk by characters, so that a double-byte character's second byte is never taken for a
  // separator; the last one found tells whether the text ends in "||".
  std::string list;
  list.reserve(filter.size() + 2);
  std::size_t separatorsAtEnd = 0;
  for (std::size_t i = 0; i < filter.size(); ++i) {
    if (IsCodePageLeadByte(filter[i]) && i + 1 < filter.size()) {
      list += filter[i];
      list += filter[++i];
      separatorsAtEnd = 0;
    } else if (filter[i] == '|') {
      list += '\0';
      ++separatorsAtEnd;
    } else {
      list += filter[i];
      separatorsAtEnd = 0;
    }
  }
  if (separatorsAtEnd < 2) list.append(2, '\0');
  return list;
}

}  // namespace forms
