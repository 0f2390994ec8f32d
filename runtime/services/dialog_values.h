#pragma once
// How the dialogs meet the runtime's values: what a message box shows for a value, and how the
// input box's text goes into the caller's variable. Portable, so the host build tests it.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/values/value_cell.h"

namespace services {

// A text as it is; numbers, bool and date-time as ToText writes them; any other kind empty.
std::string MessageText(const runtime::ValueCell& message);

// Stores the text into the variable an indirect cell points at, by the variable's kind: a text
// replaces (and frees) the old one; byte, short and int are read as a decimal integer as it stands
// (no full-width forms) and cut to their width; long, float and double as such. False, with nothing stored, for any other kind.
bool StoreInput(std::string_view text, const runtime::ValueCell& variable);

}  // namespace services
