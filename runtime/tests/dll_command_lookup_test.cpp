#include "runtime/dll_command_lookup.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

TEST(ParseExportName, OrdinalsWrapAt65536AndNamesStayNames) {
  struct Case {
    const char* function;
    bool byOrdinal;
    int ordinal;
  } cases[] = {
      {"#7", true, 7}, {"#65543", true, 7}, {"#65536", true, 0}, {"#0123", true, 123},
      {"#99999999999", true, static_cast<int>(99999999999ull % 65536)}, {"lstrlenA", false, 0},
  };
  for (const Case& c : cases) {
    const DllExportName name = ParseExportName(c.function);
    EXPECT_EQ(name.byOrdinal, c.byOrdinal) << c.function;
    EXPECT_EQ(name.ordinal, c.ordinal) << c.function;
    if (!c.byOrdinal) {
      EXPECT_EQ(name.name, c.function);
    }
  }
}

TEST(LibraryCandidates, RelativeNameSearchesDirectoryThenProgramThenSystem) {
  const DllSearchPlaces places{"D:\\app\\plugins\\", "D:\\app", "D:\\app\\"};
  const DllLibraryCandidates found = LibraryCandidates("bass.dll", places);
  EXPECT_FALSE(found.firstWithExport);
  EXPECT_EQ(found.files, (std::vector<std::string>{"D:\\app\\plugins\\bass.dll", "D:\\app\\bass.dll",
                                                   "D:\\app\\bass.dll", "bass.dll"}));
}

TEST(LibraryCandidates, EmptyPlacesAreSkipped) {
  const DllLibraryCandidates found = LibraryCandidates("user32", DllSearchPlaces{});
  EXPECT_EQ(found.files, std::vector<std::string>{"user32"});
}

TEST(LibraryCandidates, PathWithColonIsTheOnlyCandidate) {
  const DllSearchPlaces places{"D:\\app\\plugins\\", "D:\\app", "D:\\app\\"};
  const DllLibraryCandidates found = LibraryCandidates("C:\\libs\\x.dll", places);
  EXPECT_EQ(found.files, std::vector<std::string>{"C:\\libs\\x.dll"});
}

TEST(LibraryCandidates, EmptyLibraryNameTriesTheSystemLibrariesForTheExport) {
  const DllLibraryCandidates found = LibraryCandidates("", DllSearchPlaces{"D:\\p\\", "D:", "D:\\"});
  EXPECT_TRUE(found.firstWithExport);
  EXPECT_EQ(found.files, (std::vector<std::string>{"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                                   "Advapi32.dll", "Mpr.dll", "Shell32.dll"}));
}

TEST(DllBindFailureText, NamesLibraryWhenThereIsOne) {
  EXPECT_EQ(DllBindFailureText("bass.dll", "BASS_Init"), "无法找到指定DLL库文件“bass.dll”中的输出命令“BASS_Init”");
  EXPECT_EQ(DllBindFailureText("", "lstrcpyn"), "无法找到指定DLL库文件中的输出命令“lstrcpyn”");
}

TEST(WithTrailingBackslash, AddsOnlyWhenMissing) {
  EXPECT_EQ(WithTrailingBackslash("D:\\app\\plugins"), "D:\\app\\plugins\\");
  EXPECT_EQ(WithTrailingBackslash("D:\\app\\plugins\\"), "D:\\app\\plugins\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
  EXPECT_EQ(WithTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
}

}  // namespace
}  // namespace runtime
