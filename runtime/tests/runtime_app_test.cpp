// Runtime initialisation and the end sequence, inside the test process.
#include "runtime/runtime_app.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

using testing::ErrorCapture;
using testing::FatalEnd;
using testing::TestDirectory;

std::vector<std::string> events;
RuntimeApp* observed = nullptr;
std::string probePath;

bool ProbeLoaded() { return GetModuleHandleA(probePath.c_str()) != nullptr; }

std::intptr_t NotifyLibrary(int code, std::intptr_t argument, std::intptr_t) {
  if (code == library_notice::Start) {
    // The core services must work from a library.
    const auto* services = reinterpret_cast<const CoreServices*>(argument);
    void* block = services->allocate(8);
    events.push_back(block && HeapValidate(GetProcessHeap(), 0, block) ? "start with services" : "start");
    services->free(block);
    return 77;  // the library's data slot
  }
  if (code == library_notice::End) {
    events.push_back("end slot " + std::to_string(argument) + (ProbeLoaded() ? " dll loaded" : " dll gone") +
                     (IsWindow(observed->HiddenWindow()) ? " hidden window" : ""));
  }
  if (code == library_notice::WindowClosed) events.push_back("closed " + std::to_string(argument));
  return 0;
}

void Cleanup() { events.push_back(std::string("cleanup") + (observed->Ending() ? " ending" : "")); }

const CommandLibrary kLibrary{"test", "测试库", &NotifyLibrary};
const CommandLibrary kSilentLibrary{"silent", "无通知", nullptr};
const CommandLibrary* const kLibraries[] = {&kLibrary, &kSilentLibrary};

class RuntimeAppTest : public ::testing::Test {
 protected:
  RuntimeAppTest() {
    events.clear();
    observed = &app;
    probePath = TestDirectory() + "searchdir\\probe.dll";
    descriptor.libraries = kLibraries;
  }
  ~RuntimeAppTest() override { observed = nullptr; }

  ProgramDescriptor descriptor;
  RuntimeApp app;
};

TEST_F(RuntimeAppTest, InitialiseRecordsTheProgramAndMovesIntoItsDirectory) {
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  descriptor.mode = 2;
  app.Initialise(descriptor);

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(app.ProgramDirectory() + "\\" + app.ProgramFileName(), path);
  EXPECT_EQ(app.ProgramFileName(), "runtime_core_tests.exe");
  EXPECT_EQ(app.ModuleDirectory(), app.ProgramDirectory() + "\\");
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(std::string(current), app.ProgramDirectory());
  EXPECT_EQ(app.Mode(), 2u);
  EXPECT_EQ(app.MainThreadId(), GetCurrentThreadId());
  EXPECT_EQ(app.DllCommands().Size(), kDllCommandCount);
  EXPECT_EQ(events, std::vector<std::string>{"start with services"});

  HWND hidden = app.HiddenWindow();
  ASSERT_TRUE(IsWindow(hidden));
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetParent(hidden), nullptr);
  EXPECT_TRUE(GetWindowLongPtrA(hidden, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  RECT rect{};
  GetWindowRect(hidden, &rect);
  EXPECT_EQ(rect.right - rect.left, 0);
  EXPECT_EQ(rect.bottom - rect.top, 0);
}

TEST_F(RuntimeAppTest, EndSequenceRunsOnceAndInOrder) {
  bool definitionsFreed = false;
  app.Hooks().freeWindowDefinitions = [&] {
    definitionsFreed = true;
    events.push_back("definitions");
  };
  app.Initialise(descriptor);
  app.SetCleanupRoutine(&Cleanup);
  app.DllCommands().Declare(0, probePath, "ProbePlace");
  EXPECT_EQ(app.DllCommands().CallAt<int()>(0), 2);
  app.DllCommands().SetSearchDirectory("D:\\plugins");
  int idleCalls = 0;
  app.Loop().RegisterIdleRoutine(app.HiddenWindow(), [](void* calls) { ++*static_cast<int*>(calls); }, &idleCalls);

  app.RunEndSequence(0);
  app.RunEndSequence(0);

  EXPECT_EQ(events, (std::vector<std::string>{"start with services", "definitions", "cleanup ending",
                                              "end slot 77 dll loaded hidden window"}));
  EXPECT_FALSE(ProbeLoaded());
  EXPECT_EQ(app.DllCommands().SearchDirectory(), "");
  EXPECT_EQ(app.HiddenWindow(), nullptr);
  EXPECT_TRUE(app.Ending());
  EXPECT_TRUE(definitionsFreed);
}

TEST_F(RuntimeAppTest, UnreadableWindowResourceIsFatal) {
  const std::byte resource[4] = {};
  descriptor.windowResource = resource;
  std::uintptr_t seenBase = 0;
  app.Hooks().readWindowResource = [&](std::span<const std::byte> bytes, std::uintptr_t codeBase) {
    seenBase = codeBase;
    return bytes.size() == 4 && false;
  };
  descriptor.codeBase = 0x1000;
  ErrorCapture capture;
  EXPECT_THROW(app.Initialise(descriptor), FatalEnd);
  EXPECT_EQ(seenBase, 0x1000u);
  ASSERT_EQ(capture.reports.size(), 1u);
  EXPECT_EQ(capture.reports[0].code, 0);
  EXPECT_EQ(capture.reports[0].text, "载入窗口模板数据段出错!");
}

TEST_F(RuntimeAppTest, MissingStartWindowIsFatal) {
  app.Initialise(descriptor);
  std::uint32_t asked = 0;
  app.Hooks().loadWindow = [&](std::uint32_t id) -> HWND {
    asked = id;
    return nullptr;
  };
  ErrorCapture capture;
  EXPECT_THROW(app.LoadStartWindow(kStartWindowId), FatalEnd);
  EXPECT_EQ(asked, 0x52010001u);
  ASSERT_EQ(capture.reports.size(), 1u);
  EXPECT_EQ(capture.reports[0].text, "载入启动窗口失败");
}

TEST_F(RuntimeAppTest, ClosedWindowsAreToldToTheLibraries) {
  app.Initialise(descriptor);
  app.WindowDestroyed(nullptr, 0x52010002);
  EXPECT_EQ(events.back(), "closed " + std::to_string(0x52010002));
}

}  // namespace
}  // namespace runtime
