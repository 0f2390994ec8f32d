#pragma once
// The record a command library hands the runtime. The runtime only talks to its notification
// routine: once at start, once per closed window, once at the end.
#include <cstddef>
#include <cstdint>

namespace runtime {

namespace library_notice {
// argument: the CoreServices the library's commands use; the result becomes the library's
// data slot.
inline constexpr int Start = 1;
// argument: the id of the window that was closed.
inline constexpr int WindowClosed = 2;
// argument: the library's data slot.
inline constexpr int End = 6;
}  // namespace library_notice

using LibraryNotify = std::intptr_t (*)(int code, std::intptr_t argument, std::intptr_t reserved);

struct CommandLibrary {
  const char* identifier;
  const char* name;
  LibraryNotify notify;  // may be null
};

// What a library's commands reach the core through.
struct CoreServices {
  void* (*allocate)(std::size_t bytes);
  void* (*reallocate)(void* block, std::size_t bytes);
  void (*free)(void* block);
  void (*reportError)(int code, const char* text);  // does not return
};

}  // namespace runtime
