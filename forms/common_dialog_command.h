#pragma once
// Opens the file dialog a common-dialog unit describes and keeps the confirmed path as the
// unit's FileName.
#include "runtime/values/unit_ref.h"

namespace forms {

// DialogType 0 opens a file, 1 saves one; the unit's window owns the dialog. True when the user
// confirmed a path; false on cancel, for another dialog type or when the window is not loaded.
bool OpenCommonDialog(const runtime::UnitRef& dialog);

}  // namespace forms
