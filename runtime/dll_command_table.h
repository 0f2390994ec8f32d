#pragma once
// DLL commands: functions of outside libraries that the program declares by library file and
// function name and binds at their first call.
//
// Each subsystem declares its own entries, in its own header, at fixed indices of the one
// process-wide table (0 .. kDllCommandCount - 1), with the function's C signature:
//
//   // audio/bass_commands.h
//   inline constexpr runtime::DllCommand<BOOL(DWORD)> kStreamFree{412, "bass.dll", "BASS_StreamFree"};
//
//   // at the call site: binds on the first call (the fatal error report when the library or
//   // the export is missing), then calls through the cached address
//   BOOL ok = runtime::CallDll(kStreamFree, stream);
//
// Arguments convert to the declared parameter types, so a call cannot pass what the
// declaration does not take. A function name "#n" binds the export with ordinal n.
// The library is looked for in the DLL search directory first (SetSearchDirectory), then beside
// the program, then by the system's own search; a name holding ":" is loaded from that path only.
// An empty library name searches Kernel32, Gdi32, User32, Advapi32, Mpr and Shell32.
// Each index binds and caches by itself, even when another index names the same function; a
// second declaration with other names at a used index is fatal at its first call.
// On x64 the callee cannot leave the stack unbalanced, so calls need no stack check afterwards.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/dll_command_lookup.h"
#include "runtime/module_handle.h"

namespace runtime {

inline constexpr std::size_t kDllCommandCount = 674;

template <class Signature>
struct DllCommand {
  std::size_t index;
  const char* library;
  const char* function;
};

class DllCommandTable {
 public:
  explicit DllCommandTable(std::size_t count = kDllCommandCount);

  // Where relative library names are looked for after the search directory.
  void SetProgramPlaces(std::string programDirectory, std::string moduleDirectory);
  // Adds the trailing "\" when missing; an empty text switches the search directory off.
  void SetSearchDirectory(std::string directory);
  const std::string& SearchDirectory() const { return places_.searchDirectory; }

  // Records the pair at its index. Returns false when the index is out of range or already
  // holds a different pair (two declarations clash).
  bool Declare(std::size_t index, std::string_view library, std::string_view function);

  struct BindResult {
    void* address = nullptr;
    std::string failure;  // the fatal text when address is null
  };
  // Binds without reporting: the address, or why not.
  BindResult TryBind(std::size_t index);
  // Binds or makes the fatal error report (code 0), which does not return.
  void* Bind(std::size_t index);

  HMODULE ModuleOf(std::size_t index) const;
  std::size_t Size() const { return entries_.size(); }

  // The end of the process: unload every bound module, forget all entries and the search
  // directory.
  void Release();

  // Calls the function at index with the given signature: table.CallAt<int(const char*)>(3, "x").
  template <class Signature, class... Args>
  auto CallAt(std::size_t index, Args&&... args);

  template <class R, class... Params, class... Args>
  R Call(const DllCommand<R(Params...)>& command, Args&&... args);

 private:
  struct Entry {
    std::string library;
    std::string function;
    bool declared = false;
    void* address = nullptr;
    ModuleHandle module;
  };
  [[noreturn]] void ReportClash(std::size_t index, std::string_view library, std::string_view function);

  std::vector<Entry> entries_;
  DllSearchPlaces places_;
};

template <class Signature, class... Args>
auto DllCommandTable::CallAt(std::size_t index, Args&&... args) {
  using Function = Signature*;
  auto function = reinterpret_cast<Function>(Bind(index));
  return function(std::forward<Args>(args)...);
}

template <class R, class... Params, class... Args>
R DllCommandTable::Call(const DllCommand<R(Params...)>& command, Args&&... args) {
  if (!Declare(command.index, command.library, command.function)) {
    ReportClash(command.index, command.library, command.function);
  }
  return CallAt<R(Params...)>(command.index, std::forward<Args>(args)...);
}

// The process-wide table (owned by the RuntimeApp).
DllCommandTable& DllCommands();

template <class R, class... Params, class... Args>
R CallDll(const DllCommand<R(Params...)>& command, Args&&... args) {
  return DllCommands().Call(command, std::forward<Args>(args)...);
}

}  // namespace runtime
