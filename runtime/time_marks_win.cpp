#include "runtime/time_marks_win.h"

#include <windows.h>

#include <cstddef>
#include <cstdio>

namespace runtime::marks {
namespace {

// Opened once, on the first mark; the process ends with it open (nothing to flush: every line is
// written through at once so the benchmark reads it while the process runs).
HANDLE MarksFile() {
  static const HANDLE file = [] {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("SB_BENCH_MARKS", path, sizeof path);
    if (length == 0 || length >= sizeof path) return INVALID_HANDLE_VALUE;
    return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }();
  return file;
}

long long Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

template <std::size_t size>
void WriteLine(const char (&text)[size], int length) {
  if (length <= 0 || static_cast<std::size_t>(length) >= size) return;
  DWORD written = 0;
  WriteFile(MarksFile(), text, static_cast<DWORD>(length), &written, nullptr);
}

}  // namespace

bool Enabled() { return MarksFile() != INVALID_HANDLE_VALUE; }

void Mark(const char* name) {
  if (!Enabled()) return;
  char line[128];
  WriteLine(line, std::snprintf(line, sizeof line, "%s %lld\n", name, Now()));
}

Span::Span(const char* name) : name_(name) {
  if (Enabled()) start_ = Now();
}

Span::~Span() {
  if (!Enabled()) return;
  char line[128];
  WriteLine(line, std::snprintf(line, sizeof line, "%s %lld %lld\n", name_, start_, Now()));
}

}  // namespace runtime::marks
