#pragma once
// The units the board's handlers work on: the one that raised the event, and unit names.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/values/unit_ref.h"

namespace board {

// The button whose event is being handled; any other kind of unit is the runtime's
// type-mismatch error (a redirect only ever joins buttons).
runtime::UnitRef EventButton();
// The unit's name from the window resource.
std::string UnitName(const runtime::UnitRef& unit);
// The main window's buttons whose names begin with `prefix`, in resource order; none when the
// window is not loaded.
std::vector<runtime::UnitRef> MainWindowButtons(std::string_view prefix);

}  // namespace board
