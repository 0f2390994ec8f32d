#pragma once
// Texts handed to callers are in the ANSI code page (936 on the users' systems).

#include <string>

namespace audiolib {

std::string ansi_from_wide(const wchar_t* text);
std::string ansi_from_utf8(const std::string& text);

} // namespace audiolib
