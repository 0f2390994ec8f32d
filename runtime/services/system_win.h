#pragma once
// Environment, files, programs, the screen and the clock, as the skin engine asks for them.
// Texts are GBK bytes.
#include <initializer_list>
#include <string>

#include "runtime/values/byte_set.h"

namespace services {

// Empty when the variable is not set.
std::string GetEnvironmentText(const std::string& name);
// Creates or replaces the file with the non-empty byte sets in order; false for an empty path
// or any file error.
bool WriteFile(const std::string& path, std::initializer_list<runtime::ByteSetRef> parts);
// Starts the command line with the show mode (clamped to 1..6); waits for its end, or at most a
// second for it to become idle. True when it started.
bool RunProgram(const std::string& commandLine, bool wait = false, int show = 2);
int GetScreenWidth();
int GetScreenHeight();
// The local time in whole seconds as a date-time.
double Now();

}  // namespace services
