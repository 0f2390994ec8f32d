#pragma once
// How a common-dialog unit's Filter text becomes the file dialog's filter list: pairs of
// description and pattern separated by "|" in the unit, NUL-separated and double-NUL-ended for
// the system.
#include <cstdint>
#include <string>
#include <string_view>

namespace forms {

// Trailing white space dropped; "||" appended unless the text ends in it; every "|" becomes a
// NUL. Texts are GBK: a "|" that is the second byte of a double-byte character stays.
// An empty (or all-blank) filter gives the empty string: no filter list.
std::string FileDialogFilter(std::string_view filter);

// The dialog's 1-based filter index from the unit's 0-based FilterIndex; negative picks the first.
constexpr std::uint32_t FileDialogFilterIndex(std::int32_t filterIndex) {
  return filterIndex < 0 ? 1u : static_cast<std::uint32_t>(filterIndex) + 1u;
}

}  // namespace forms
