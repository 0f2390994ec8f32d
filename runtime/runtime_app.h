#pragma once
// RuntimeApp: the one runtime object of the process. It holds the program's places, the DLL
// command table, the message loop and the command libraries, and runs the start-up and the end.
//
// What the window layer plugs in (Hooks(), set before Initialise):
//   readWindowResource     reads the carried window resource at initialisation
//   loadWindow             creates a window from its definition (LoadStartWindow)
//   freeWindowDefinitions  the end sequence's first step after the flags
//   loop.*                 liveness, idle events, thread messages (message_loop.h)
// and what it calls: WindowDestroyed for every runtime window, Loop().RunModal to show a window
// modally, Loop().Entered(), Loop().RegisterIdleRoutine(window, routine, argument) and
// Loop().SetPreTranslateHook(window, hook).
//
// A normal end: the last window goes, the loop ends, RunProcess runs the end sequence and
// returns 0. A fatal error (ReportError) shows its box and calls EndProcess(-1).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "runtime/command_library.h"
#include "runtime/dll_command_table.h"
#include "runtime/hidden_window.h"
#include "runtime/message_loop.h"
#include "runtime/values/error_report.h"

namespace runtime {

// The fixed facts of the program the runtime starts with.
struct ProgramDescriptor {
  // 2 makes a fatal error stop in an attached debugger first.
  std::uint32_t mode = 3;
  std::uint32_t reserved1 = 0;
  std::uint32_t reserved2 = 0x1C9B7;
  // Added to the handler offsets of the window resource.
  std::uintptr_t codeBase = 0;
  // The program's constant data; null: the read-only data section of the program's image.
  const void* constantDataStart = nullptr;
  std::size_t constantDataSize = 0;
  std::span<const std::byte> windowResource;
  std::span<const CommandLibrary* const> libraries;
  std::size_t dllCommandCount = kDllCommandCount;
};

inline constexpr std::uint32_t kStartWindowId = 0x52010001;

struct WindowHooks {
  // Reads the resource into the window definitions, relocating handler offsets by codeBase.
  // False: the resource is unreadable (fatal).
  std::function<bool(std::span<const std::byte> resource, std::uintptr_t codeBase)> readWindowResource;
  // Creates the window of a definition, shown, not modal, without owner; null on failure.
  std::function<HWND(std::uint32_t windowId)> loadWindow;
  std::function<void()> freeWindowDefinitions;
  LoopHooks loop;
};

class RuntimeApp {
 public:
  RuntimeApp();
  ~RuntimeApp();
  RuntimeApp(const RuntimeApp&) = delete;
  RuntimeApp& operator=(const RuntimeApp&) = delete;

  // The process-wide object.
  static RuntimeApp& Instance();

  WindowHooks& Hooks() { return hooks_; }

  // Runtime initialisation: heap, OLE, program places, current directory, hidden window, main
  // thread, constant-data range, DLL table, libraries (notice 1), window resource.
  void Initialise(const ProgramDescriptor& descriptor);
  void SetCleanupRoutine(void (*routine)()) { cleanup_ = routine; }
  // Fatal "载入启动窗口失败" when the window cannot be made.
  HWND LoadStartWindow(std::uint32_t windowId);
  void RunMessageLoop() { loop_.Run(); }

  // Runs the end sequence and ends the process with `exitCode`. From another thread the main
  // thread does the work; this returns only there, and only when the end is already under way.
  void EndProcess(int exitCode);
  // The end sequence alone (instance exit after a normal end). At most once.
  void RunEndSequence(int exitCode);

  // Every runtime window tells this at WM_NCDESTROY, after its accelerator table and its
  // units' cursors are gone and once its definition no longer counts as alive: the libraries
  // hear of it, and the last window gone ends the loop (only once the loop was entered).
  void WindowDestroyed(HWND window, std::uint32_t windowId);

  MessageLoop& Loop() { return loop_; }
  DllCommandTable& DllCommands() { return dllCommands_; }

  std::uint32_t Mode() const { return mode_; }
  const std::string& ProgramDirectory() const { return programDirectory_; }
  const std::string& ProgramFileName() const { return programFileName_; }
  const std::string& ModuleDirectory() const { return moduleDirectory_; }
  DWORD MainThreadId() const { return mainThreadId_; }
  HWND HiddenWindow() const { return hiddenWindow_.Get(); }
  bool Ending() const { return ending_; }

 private:
  class Terminal final : public ErrorTerminal {
   public:
    explicit Terminal(RuntimeApp& app) : app_(app) {}
    void ShowErrorBox(const char* message, const char* caption) override;
    [[noreturn]] void EndProcess(int exitCode) override;

   private:
    RuntimeApp& app_;
  };

  void ReadProgramPlaces();
  void StartLibraries(std::span<const CommandLibrary* const> libraries);
  void EndLibraries();

  WindowHooks hooks_;
  MessageLoop loop_{hooks_.loop};
  DllCommandTable dllCommands_;
  HiddenRuntimeWindow hiddenWindow_;
  Terminal terminal_{*this};
  bool terminalInstalled_ = false;

  std::uint32_t mode_ = 0;
  std::uint32_t reserved1_ = 0;
  std::uint32_t reserved2_ = 0;
  std::string programDirectory_;
  std::string programFileName_;
  std::string moduleDirectory_;
  DWORD mainThreadId_ = 0;
  bool oleInitialised_ = false;
  bool ending_ = false;
  void (*cleanup_)() = nullptr;

  struct LibrarySlot {
    const CommandLibrary* library;
    std::intptr_t data;
  };
  std::vector<LibrarySlot> libraries_;
};

// Where a module's read-only data section lies; empty when the image has none.
std::span<const std::byte> ReadOnlyDataOf(HMODULE module);

}  // namespace runtime
