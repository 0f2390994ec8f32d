// A whole runtime life in one process, for the process tests:
//   runtime_test_child.exe <normal|fatal|worker|box> <log file>
// It loads one plain window as its start window and logs what the runtime did, in order.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "runtime/program_start.h"
#include "runtime/values/error_report.h"

namespace {

using runtime::RuntimeApp;

constexpr UINT kGo = WM_APP + 1;
std::string mode;
std::FILE* logFile = nullptr;
HWND startWindow = nullptr;

void Log(const std::string& line) {
  if (!logFile) return;
  std::fputs((line + "\n").c_str(), logFile);
  std::fflush(logFile);
}

// Its destructor runs only when the process ends by returning from WinMain, not when the runtime
// ends it from inside a window procedure. It writes past the C library, whose streams may be
// closed by then.
char logPath[MAX_PATH] = {};
struct StaticWitness {
  ~StaticWitness() {
    HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, "static destructor\n", 18, &written, nullptr);
    CloseHandle(file);
  }
} witness;

bool OnMainThread() { return GetCurrentThreadId() == RuntimeApp::Instance().MainThreadId(); }

std::intptr_t NotifyLibrary(int code, std::intptr_t argument, std::intptr_t) {
  // The start argument is an address; log it only as present or not.
  const std::string shown = code == runtime::library_notice::Start ? (argument ? "services" : "none")
                                                                   : std::to_string(argument);
  Log("library " + std::to_string(code) + " " + shown);
  return code == runtime::library_notice::Start ? 5 : 0;
}
const runtime::CommandLibrary kLibrary{"child", "子进程库", &NotifyLibrary};
const runtime::CommandLibrary* const kLibraries[] = {&kLibrary};

int SuppressBox(int code, const char* text) {
  Log("hook " + std::to_string(code) + " " + text);
  return 1;
}

DWORD WINAPI EndFromWorker(void*) {
  RuntimeApp::Instance().EndProcess(3);
  Log("worker returned");
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kGo) {
    if (mode == "normal") DestroyWindow(window);
    if (mode == "fatal" || mode == "box") runtime::ReportError(runtime::error_codes::IndexBeyondRange);
    if (mode == "worker") CloseHandle(CreateThread(nullptr, 0, &EndFromWorker, nullptr, 0, nullptr));
    return 0;
  }
  if (message == WM_NCDESTROY) {
    startWindow = nullptr;
    Log("window destroyed");
    RuntimeApp::Instance().WindowDestroyed(window, runtime::kStartWindowId);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND LoadWindow(std::uint32_t id) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RuntimeChildWindow";
  RegisterClassA(&windowClass);
  startWindow = CreateWindowExA(0, "RuntimeChildWindow", "子窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  Log("load window " + std::to_string(id));
  PostMessageA(startWindow, kGo, 0, 0);
  return startWindow;
}

// S_FALSE: this thread's OLE is already up.
bool OleIsUp() {
  const HRESULT result = OleInitialize(nullptr);
  if (SUCCEEDED(result)) OleUninitialize();
  return result == S_FALSE;
}

void ConstructObjects() {
  Log(std::string(IsWindow(RuntimeApp::Instance().HiddenWindow()) ? "construct after init" : "construct") +
      (OleIsUp() ? ", ole up" : ", no ole"));
}

void ModuleInitialisers() {
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  Log(std::string("cwd ") + current);
  Log("program " + RuntimeApp::Instance().ProgramDirectory() + " " + RuntimeApp::Instance().ProgramFileName());
}

void Cleanup() { Log(OnMainThread() ? "cleanup on main thread" : "cleanup on another thread"); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  mode = __argv[1];
  logFile = std::fopen(__argv[2], "wb");
  lstrcpynA(logPath, __argv[2], MAX_PATH);
  if (mode == "fatal") runtime::SetErrorHook(&SuppressBox);

  RuntimeApp& app = RuntimeApp::Instance();
  app.Hooks().loadWindow = &LoadWindow;
  app.Hooks().loop.anyWindowAlive = [] { return startWindow != nullptr; };

  runtime::ProgramDescriptor descriptor;
  descriptor.libraries = kLibraries;
  runtime::ProgramParts parts;
  parts.constructObjects = &ConstructObjects;
  parts.cleanup = &Cleanup;
  parts.moduleInitialisers = &ModuleInitialisers;
  const int exitCode = runtime::RunProcess([&] { return runtime::ProgramStartRoutine(descriptor, parts); });
  Log("exit " + std::to_string(exitCode) + (OleIsUp() ? ", ole up" : ", ole released"));
  return exitCode;
}
