#include "runtime/runtime_app.h"

#include <ole2.h>


#include "runtime/process_heap_win.h"
#include "runtime/time_marks_win.h"
#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"

namespace runtime {
namespace {

void ReportErrorService(int code, const char* text) { ReportError(code, text ? text : ""); }

const CoreServices kCoreServices{&Allocate, &Reallocate, &Free, &ReportErrorService};

}  // namespace

RuntimeApp::RuntimeApp() = default;

RuntimeApp::~RuntimeApp() {
  if (terminalInstalled_) RemoveErrorTerminal();
  dllCommands_.Release();
  hiddenWindow_.Destroy();
  if (oleInitialised_) OleUninitialize();
}

RuntimeApp& RuntimeApp::Instance() {
  // Fatal errors end the process through this one object; other instances (tests) leave
  // the terminal alone.
  static RuntimeApp app;
  if (!app.terminalInstalled_) {
    InstallErrorTerminal(app.terminal_);
    app.terminalInstalled_ = true;
  }
  return app;
}

DllCommandTable& DllCommands() { return RuntimeApp::Instance().DllCommands(); }

void RuntimeApp::Initialise(const ProgramDescriptor& descriptor) {
  InstallProcessHeap(WindowsProcessHeap());

  mode_ = descriptor.mode;
  reserved1_ = descriptor.reserved1;
  reserved2_ = descriptor.reserved2 + 1;

  if (!oleInitialised_) oleInitialised_ = SUCCEEDED(OleInitialize(nullptr));

  ReadProgramPlaces();
  std::string current = programDirectory_;
  // "C:" alone would mean the drive's current directory, not its root.
  if (!current.empty() && current.back() == ':') current += '\\';
  if (!current.empty()) SetCurrentDirectoryA(current.c_str());

  hiddenWindow_.Create([this](int exitCode) { EndProcess(exitCode); });
  mainThreadId_ = GetCurrentThreadId();

  if (descriptor.constantDataStart) {
    ProcessStaticRanges().Add(descriptor.constantDataStart, descriptor.constantDataSize);
  } else {
    const auto readOnly = ReadOnlyDataOf(GetModuleHandleA(nullptr));
    ProcessStaticRanges().Add(readOnly.data(), readOnly.size());
  }

  dllCommands_ = DllCommandTable(descriptor.dllCommandCount);
  dllCommands_.SetProgramPlaces(programDirectory_, moduleDirectory_);

  StartLibraries(descriptor.libraries);

  // The window layer reads the carried window resource here.
  if (!descriptor.windowResource.empty()) {
    const marks::Span span("resource");
    const bool read = hooks_.readWindowResource &&
                      hooks_.readWindowResource(descriptor.windowResource, descriptor.codeBase);
    if (!read) ReportError(error_codes::Text, "载入窗口模板数据段出错!");
  }
}

void RuntimeApp::ReadProgramPlaces() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length < MAX_PATH ? length : MAX_PATH);
  const std::size_t slash = full.rfind('\\');
  if (slash == std::string::npos) {
    programDirectory_.clear();
    programFileName_ = full;
    moduleDirectory_.clear();
  } else {
    programDirectory_ = full.substr(0, slash);
    programFileName_ = full.substr(slash + 1);
    moduleDirectory_ = full.substr(0, slash + 1);
  }
}

void RuntimeApp::StartLibraries(std::span<const CommandLibrary* const> libraries) {
  libraries_.clear();
  for (const CommandLibrary* library : libraries) {
    if (!library) continue;
    std::intptr_t data = 0;
    if (library->notify) {
      data = library->notify(library_notice::Start, reinterpret_cast<std::intptr_t>(&kCoreServices), 0);
    }
    libraries_.push_back({library, data});
  }
}

void RuntimeApp::EndLibraries() {
  for (const LibrarySlot& slot : libraries_) {
    if (slot.library->notify) slot.library->notify(library_notice::End, slot.data, 0);
  }
  libraries_.clear();
}

HWND RuntimeApp::LoadStartWindow(std::uint32_t windowId) {
  HWND window = hooks_.loadWindow ? hooks_.loadWindow(windowId) : nullptr;
  if (!window) ReportError(error_codes::Text, "载入启动窗口失败");
  loop_.SetMainWindow(window);
  return window;
}

void RuntimeApp::WindowDestroyed(HWND window, std::uint32_t windowId) {
  for (const LibrarySlot& slot : libraries_) {
    if (slot.library->notify) slot.library->notify(library_notice::WindowClosed, windowId, 0);
  }
  if (window == loop_.MainWindow()) loop_.SetMainWindow(nullptr);
  loop_.WindowDestroyed(window);
}

void RuntimeApp::RunEndSequence(int exitCode) {
  if (mainThreadId_ != 0 && GetCurrentThreadId() != mainThreadId_) {
    if (hiddenWindow_.Get()) SendMessageA(hiddenWindow_.Get(), kEndProcessMessage, static_cast<WPARAM>(exitCode), 0);
    if (!ending_) ExitProcess(static_cast<UINT>(exitCode));
    return;
  }
  if (ending_) return;
  ending_ = true;
  loop_.ClearIdleRoutines();
  if (hooks_.freeWindowDefinitions) hooks_.freeWindowDefinitions();
  if (auto cleanup = cleanup_) {
    cleanup_ = nullptr;
    cleanup();
  }
  EndLibraries();
  dllCommands_.Release();
  hiddenWindow_.Destroy();
  if (oleInitialised_) {
    oleInitialised_ = false;
    OleUninitialize();
  }
}

void RuntimeApp::EndProcess(int exitCode) {
  const bool otherThread = mainThreadId_ != 0 && GetCurrentThreadId() != mainThreadId_;
  RunEndSequence(exitCode);
  if (otherThread) return;
  // Not std::exit: that would run the static destructors after the command libraries are gone,
  // from inside whatever window procedure asked for the end.
  ExitProcess(static_cast<UINT>(exitCode));
}

void RuntimeApp::Terminal::ShowErrorBox(const char* message, const char* caption) {
  MessageBoxA(nullptr, message, caption, MB_OK | MB_ICONERROR);
}

void RuntimeApp::Terminal::EndProcess(int exitCode) {
  if (app_.Mode() == 2 && IsDebuggerPresent()) DebugBreak();
  app_.EndProcess(exitCode);
  // Only a worker thread gets here, while the main thread is already ending the process.
  ExitThread(static_cast<DWORD>(exitCode));
}

std::span<const std::byte> ReadOnlyDataOf(HMODULE module) {
  if (!module) return {};
  const auto* base = reinterpret_cast<const std::byte*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return {};
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return {};
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::string_view(reinterpret_cast<const char*>(section->Name), 6) == ".rdata") {
      return {base + section->VirtualAddress, section->Misc.VirtualSize};
    }
  }
  return {};
}

}  // namespace runtime
