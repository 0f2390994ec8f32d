#include "runtime/dll_command_table.h"

#include <gtest/gtest.h>

#include "runtime/runtime_app.h"
#include "runtime/tests/test_support.h"

namespace runtime {
namespace {

using testing::ErrorCapture;
using testing::FatalEnd;
using testing::TestDirectory;

// A table that looks beside the test program like the real one looks beside the board.
class DllCommandTableTest : public ::testing::Test {
 protected:
  DllCommandTableTest() { table.SetProgramPlaces(TestDirectory(false), TestDirectory()); }

  // The fatal report a binding makes, as (code, text); fails the test when there is none.
  ErrorCapture::Report BindFailure(std::size_t index) {
    ErrorCapture capture;
    try {
      table.Bind(index);
    } catch (const FatalEnd& end) {
      EXPECT_EQ(end.exitCode, -1);
      if (capture.reports.size() == 1) return capture.reports[0];
    }
    ADD_FAILURE() << "binding " << index << " did not make one fatal report";
    return {};
  }

  static bool ProbeLoadedFrom(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

  DllCommandTable table{16};
};

TEST_F(DllCommandTableTest, BindsByNameAndOrdinalFromTheRightLibrary) {
  struct Case {
    const char* library;
    const char* function;
    const char* expectedModule;  // null: the probe beside the tests
  } cases[] = {
      {"probe.dll", "ProbeAnswer", nullptr},
      {"probe.dll", "#7", nullptr},
      {"probe.dll", "#65543", nullptr},
      {"probe", "ProbeAnswer", nullptr},
      {"", "lstrlenA", "kernel32.dll"},
      {"", "SetRect", "user32.dll"},  // not in Kernel32 or Gdi32
      {"", "OpenSCManagerA", "advapi32.dll"},
  };
  std::size_t index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.library) + " " + c.function);
    ASSERT_TRUE(table.Declare(index, c.library, c.function));
    const auto bound = table.TryBind(index);
    ASSERT_NE(bound.address, nullptr) << bound.failure;
    const std::string probe = TestDirectory() + "probe.dll";
    const HMODULE expected = GetModuleHandleA(c.expectedModule ? c.expectedModule : probe.c_str());
    EXPECT_EQ(table.ModuleOf(index), expected);
    if (!c.expectedModule) {
      EXPECT_EQ(table.CallAt<int()>(index), 42);
    }
    ++index;
  }
}

TEST_F(DllCommandTableTest, SearchDirectoryComesFirstAndGetsItsBackslash) {
  table.Declare(0, "probe.dll", "ProbePlace");
  DllCommandTable searching(1);
  searching.SetProgramPlaces(TestDirectory(false), TestDirectory());
  searching.SetSearchDirectory(TestDirectory() + "searchdir");
  EXPECT_EQ(searching.SearchDirectory(), TestDirectory() + "searchdir\\");
  searching.Declare(0, "probe.dll", "ProbePlace");

  EXPECT_EQ(table.CallAt<int()>(0), 1);
  EXPECT_EQ(searching.CallAt<int()>(0), 2);
}

TEST_F(DllCommandTableTest, PathWithColonIsLoadedFromThatPathOnly) {
  table.Declare(0, (TestDirectory() + "searchdir\\probe.dll").c_str(), "ProbePlace");
  EXPECT_EQ(table.CallAt<int()>(0), 2);

  // probe.dll lies beside the program, but the named path is all that counts.
  table.Declare(1, "Z:\\no such folder\\probe.dll", "ProbePlace");
  const auto failure = BindFailure(1);
  EXPECT_EQ(failure.code, 0);
  EXPECT_EQ(failure.text, "无法找到指定DLL库文件“Z:\\no such folder\\probe.dll”中的输出命令“ProbePlace”");
}

TEST_F(DllCommandTableTest, MissingLibraryOrExportIsFatalAtTheFirstCallOnly) {
  struct Case {
    const char* library;
    const char* function;
    const char* text;
  } cases[] = {
      {"no_such_library.dll", "Anything", "无法找到指定DLL库文件“no_such_library.dll”中的输出命令“Anything”"},
      {"probe.dll", "NoSuchExport", "无法找到指定DLL库文件“probe.dll”中的输出命令“NoSuchExport”"},
      {"probe.dll", "#9", "无法找到指定DLL库文件“probe.dll”中的输出命令“#9”"},
      {"", "MessageBox", "无法找到指定DLL库文件中的输出命令“MessageBox”"},  // only the A and W forms exist
  };
  std::size_t index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    // Declaring loads nothing and reports nothing.
    ASSERT_TRUE(table.Declare(index, c.library, c.function));
    const auto failure = BindFailure(index);
    EXPECT_EQ(failure.code, 0);
    EXPECT_EQ(failure.text, c.text);
    EXPECT_EQ(table.ModuleOf(index), nullptr);
    ++index;
  }
  // A library that lacks the export is not kept loaded.
  EXPECT_FALSE(ProbeLoadedFrom(TestDirectory() + "probe.dll"));
}

TEST_F(DllCommandTableTest, EachIndexHoldsItsOwnModuleUntilRelease) {
  const std::string probe = TestDirectory() + "searchdir\\probe.dll";
  table.Declare(1, probe, "ProbePlace");
  table.Declare(2, probe, "ProbePlace");
  EXPECT_EQ(table.CallAt<int()>(1), 2);
  EXPECT_EQ(table.CallAt<int()>(2), 2);
  EXPECT_NE(table.ModuleOf(1), nullptr);
  EXPECT_EQ(table.ModuleOf(1), table.ModuleOf(2));
  EXPECT_TRUE(ProbeLoadedFrom(probe));

  table.Release();
  EXPECT_FALSE(ProbeLoadedFrom(probe));
}

TEST_F(DllCommandTableTest, TypedDeclarationsPassArgumentsAndResults) {
  constexpr DllCommand<int(int, int)> kAdd{3, "probe.dll", "ProbeAdd"};
  constexpr DllCommand<double(double)> kHalf{4, "probe.dll", "#3"};
  constexpr DllCommand<int(const char*)> kLength{5, "kernel32", "lstrlenA"};
  EXPECT_EQ(table.Call(kAdd, 40, 2), 42);
  EXPECT_EQ(table.Call(kAdd, -5, 2), -3);
  EXPECT_DOUBLE_EQ(table.Call(kHalf, 3.0), 1.5);
  EXPECT_EQ(table.Call(kLength, "按钮"), 4);  // GBK bytes
}

TEST_F(DllCommandTableTest, ClashingDeclarationsAndUnknownIndicesAreFatal) {
  constexpr DllCommand<int()> kAnswer{6, "probe.dll", "ProbeAnswer"};
  constexpr DllCommand<int()> kOther{6, "probe.dll", "ProbePlace"};
  EXPECT_EQ(table.Call(kAnswer), 42);
  {
    ErrorCapture capture;
    EXPECT_THROW(table.Call(kOther), FatalEnd);
    ASSERT_EQ(capture.reports.size(), 1u);
    EXPECT_EQ(capture.reports[0].text, "无法找到指定DLL库文件“probe.dll”中的输出命令“ProbePlace”");
  }
  EXPECT_EQ(BindFailure(7).code, 0);    // never declared
  EXPECT_EQ(BindFailure(100).code, 0);  // beyond the table
}

TEST(ProcessDllCommands, CallDllGoesThroughTheOneTable) {
  constexpr DllCommand<int(const char*)> kLength{0, "kernel32.dll", "lstrlenA"};
  EXPECT_EQ(CallDll(kLength, "abc"), 3);
  EXPECT_NE(DllCommands().ModuleOf(0), nullptr);
  EXPECT_EQ(&DllCommands(), &RuntimeApp::Instance().DllCommands());
}

}  // namespace
}  // namespace runtime
