#pragma once
// The memory service's heap on Windows: the process heap, taken at runtime initialisation.
#include "runtime/values/memory.h"

namespace runtime {

ProcessHeap& WindowsProcessHeap();

}  // namespace runtime
