#pragma once
// The last GDI+ status: every forwarding call of the wrappers overwrites it, and reports true
// only when it is Ok. Callers that want to know why read it here.
#include "draw/gdiplus_types.h"

namespace draw {

Status LastStatus();
// Stores `status` and tells whether it is Ok.
bool Record(Status status);

}  // namespace draw
