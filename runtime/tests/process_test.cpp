// Whole runtime lives in a child process: how it ends, with which exit code, in which order.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

using testing::TestDirectory;

struct ChildRun {
  DWORD exitCode = 0;
  std::vector<std::string> log;
};

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Starts the child in `directory`; `whileRunning` gets its process id and runs until the child ends.
ChildRun RunChild(const std::string& mode, const std::string& directory,
                  const std::function<void(DWORD processId)>& whileRunning = {}) {
  ChildRun run;
  const std::string logPath = TestDirectory() + "child_" + mode + ".log";
  DeleteFileA(logPath.c_str());
  std::string commandLine = "\"" + TestDirectory() + "runtime_test_child.exe\" " + mode + " \"" + logPath + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start the child: " << GetLastError();
    return run;
  }
  if (whileRunning) whileRunning(process.dwProcessId);
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "child " << mode << " did not end";
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.log = ReadLines(logPath);
  return run;
}

std::string SystemDirectory() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

const std::string kStartId = std::to_string(0x52010001);

TEST(Process, NormalEndRunsTheWholeLifeInOrderAndExitsWithZero) {
  // Started elsewhere, it still works in its own directory.
  const ChildRun run = RunChild("normal", SystemDirectory());
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.log, (std::vector<std::string>{
                         "library 1 services",
                         "construct after init, ole up",
                         "cwd " + TestDirectory(false),
                         "program " + TestDirectory(false) + " runtime_test_child.exe",
                         "load window " + kStartId,
                         "window destroyed",
                         "library 2 " + kStartId,
                         "cleanup on main thread",
                         "library 6 5",
                         "exit 0, ole released",
                         "static destructor",
                     }));
}

TEST(Process, FatalErrorTakesTheEndSequenceAndExitsWithMinusOne) {
  const ChildRun run = RunChild("fatal", TestDirectory(false));
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  ASSERT_GE(run.log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(run.log.end() - 3, run.log.end()),
            (std::vector<std::string>{"hook 1 数组成员引用下标超出定义范围", "cleanup on main thread", "library 6 5"}));
}

TEST(Process, EndFromAnotherThreadIsDoneByTheMainThread) {
  const ChildRun run = RunChild("worker", TestDirectory(false));
  EXPECT_EQ(run.exitCode, 3u);
  ASSERT_GE(run.log.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(run.log.end() - 2, run.log.end()),
            (std::vector<std::string>{"cleanup on main thread", "library 6 5"}));
}

// The box a fatal error shows, as another program on the desktop sees it.
struct ErrorBox {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  bool hasIcon = false;
  HWND owner = nullptr;
};

ErrorBox FindErrorBox(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (owner == s->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  ErrorBox box;
  box.window = search.found;
  if (!box.window) return box;
  char caption[64] = {};
  GetWindowTextA(box.window, caption, sizeof caption);
  box.caption = caption;
  box.owner = GetWindow(box.window, GW_OWNER);
  EnumChildWindows(
      box.window,
      [](HWND child, LPARAM data) -> BOOL {
        auto* b = reinterpret_cast<ErrorBox*>(data);
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        if (std::string(className) != "Static") return TRUE;
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
          b->hasIcon = true;
          return TRUE;
        }
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        if (std::string(text).size() > b->text.size()) b->text = text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&box));
  return box;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

TEST(Process, FatalErrorBoxShowsTheComposedMessageThenEnds) {
  ErrorBox box;
  const ChildRun run = RunChild("box", TestDirectory(false), [&](DWORD processId) {
    for (int i = 0; i < 200 && !box.window; ++i) {
      Sleep(50);
      box = FindErrorBox(processId);
    }
    if (box.window) PostMessageA(box.window, WM_COMMAND, IDOK, 0);
  });
  ASSERT_NE(box.window, nullptr) << "no message box appeared";
  EXPECT_EQ(box.caption, "错误");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(SplitLines(box.text), (std::vector<std::string>{"运行时出错!", "", "错误代码：1", "",
                                                            "错误信息：数组成员引用下标超出定义范围", ""}));
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  // The end sequence ran after the box was closed.
  ASSERT_FALSE(run.log.empty());
  EXPECT_EQ(run.log.back(), "library 6 5");
}

}  // namespace
}  // namespace runtime
