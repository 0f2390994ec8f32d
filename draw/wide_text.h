#pragma once
// The program's texts are ANSI byte strings; GDI+ takes UTF-16.
#include <string>

#include "runtime/values/text_value.h"

namespace draw {

std::wstring Widen(runtime::TextRef text);

}  // namespace draw
