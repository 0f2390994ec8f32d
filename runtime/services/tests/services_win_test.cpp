#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/services/hotkeys_win.h"
#include "runtime/services/program_files_win.h"
#include "runtime/services/shell_win.h"
#include "runtime/services/system_win.h"
#include "runtime/values/date_time.h"

namespace services {
namespace {

std::string TempFolder(const char* name) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(ConfigItemTest, ReadsWritesAndDeletesInARealFile) {
  const std::string file = TempFolder("sb-config") + "\\设置.ini";
  DeleteFileA(file.c_str());
  ASSERT_TRUE(WriteConfigItem(file, "music", std::string("passage"), std::string("4/5")));
  ASSERT_TRUE(WriteConfigItem(file, "music", std::string("volume"), std::string("80")));
  ASSERT_TRUE(WriteConfigItem(file, "hotkey", std::string("按钮_音效1"), std::string("Ctrl+F1")));
  EXPECT_EQ(ReadConfigItem(file, "music", "passage"), "4/5");
  EXPECT_EQ(ReadConfigItem(file, "  music", "\tvolume"), "80");  // leading blanks skipped
  EXPECT_EQ(ReadConfigItem(file, "hotkey", "按钮_音效1"), "Ctrl+F1");
  EXPECT_EQ(ReadConfigItem(file, "music", "missing", "默认"), "默认");
  // Empty names give the empty text whatever the default.
  EXPECT_EQ(ReadConfigItem(file, "   ", "volume", "默认"), "");
  EXPECT_EQ(ReadConfigItem(file, "music", "", "默认"), "");
  EXPECT_EQ(ReadConfigItem(" ", "music", "volume", "默认"), "");

  // An omitted value deletes the key, an omitted key the whole section.
  ASSERT_TRUE(WriteConfigItem(file, "music", std::string("volume"), std::nullopt));
  EXPECT_EQ(ReadConfigItem(file, "music", "volume", "gone"), "gone");
  EXPECT_EQ(ReadConfigItem(file, "music", "passage"), "4/5");
  ASSERT_TRUE(WriteConfigItem(file, "music", std::nullopt, std::string("ignored")));
  EXPECT_EQ(ReadConfigItem(file, "music", "passage", "gone"), "gone");
  EXPECT_EQ(ReadConfigItem(file, "hotkey", "按钮_音效1"), "Ctrl+F1");

  // Values are cut to the reader's buffer.
  ASSERT_TRUE(WriteConfigItem(file, "init", std::string("long"), std::string(12000, 'v')));
  EXPECT_EQ(ReadConfigItem(file, "init", "long").size(), 10239u);
}

TEST(ProgramFilesTest, FileExistsCountsDirectoriesAndWildcards) {
  const std::string folder = TempFolder("sb-exists");
  const std::string file = folder + "\\a.mp3";
  const HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(FileExists(folder));
  EXPECT_TRUE(FileExists(folder + "\\*.mp3"));
  EXPECT_FALSE(FileExists(folder + "\\*.wav"));
  EXPECT_FALSE(FileExists(folder + "\\b.mp3"));
  EXPECT_EQ(static_cast<DWORD>(GetFaceColour()), GetSysColor(COLOR_BTNFACE));
  const auto before = std::chrono::steady_clock::now();
  Delay(-5);
  Delay(30);
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(28));
}

TEST(ShellTest, SpecialFolders) {
  const std::string desktop = GetSpecialFolder(3);
  ASSERT_FALSE(desktop.empty());
  EXPECT_EQ(desktop.back(), '\\');
  for (int code : {1, 8, 9, 10, 11}) {
    const std::string path = GetSpecialFolder(code);
    ASSERT_FALSE(path.empty()) << code;
    EXPECT_EQ(path.back(), '\\') << code;
    EXPECT_NE(path.substr(path.size() - 2), "\\\\") << code;
  }
  EXPECT_EQ(GetSpecialFolder(12), "");
  EXPECT_EQ(GetSpecialFolder(0), "");
}

struct LinkContents {
  std::string path, arguments, directory, description;
  int show = -1;
};

LinkContents ReadLink(const std::string& file) {
  LinkContents out;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return out;
  IPersistFile* persist = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  if (persist && SUCCEEDED(persist->Load(wide, STGM_READ))) {
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    out.path = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH);
    out.arguments = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH);
    out.directory = text;
    text[0] = 0;
    link->GetDescription(text, MAX_PATH);
    out.description = text;
    link->GetShowCmd(&out.show);
  }
  if (persist) persist->Release();
  link->Release();
  return out;
}

TEST(ShellTest, ShortcutOnTheDesktopReadsBack) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  const std::string desktop = GetSpecialFolder(3);
  const std::string target = GetSpecialFolder(10) + "notepad.exe";
  const std::string name = desktop + "岚铎声板测试";
  DeleteFileA((name + ".lnk").c_str());
  ASSERT_TRUE(CreateShortcut(name, target, std::string("声板"), std::string("/x"), std::string("C:\\")));
  const LinkContents full = ReadLink(name + ".lnk");
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, full.path.c_str(), -1, target.c_str(), -1),
            CSTR_EQUAL)
      << full.path;
  EXPECT_EQ(full.arguments, "/x");
  EXPECT_EQ(full.directory, "C:\\");
  EXPECT_EQ(full.description, "声板");
  EXPECT_EQ(full.show, SW_SHOWNORMAL);  // a link file keeps SW_SHOW as the normal show

  // Without the working directory the arguments are not set either; a name with "." is kept.
  const std::string dotted = desktop + "board.link";
  DeleteFileA(dotted.c_str());
  ASSERT_TRUE(CreateShortcut(dotted, target, std::nullopt, std::string("/y")));
  const LinkContents four = ReadLink(dotted);
  EXPECT_FALSE(four.path.empty());
  EXPECT_EQ(four.arguments, "");
  EXPECT_EQ(four.directory, "");
  EXPECT_FALSE(CreateShortcut(desktop + "no-such-folder\\x", target));
  DeleteFileA((name + ".lnk").c_str());
  DeleteFileA(dotted.c_str());
  CoUninitialize();
}

UINT feedback_ids[8];
int feedback_count = 0;

LRESULT CALLBACK FeedbackProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == kHotkeyFeedbackMessage && feedback_count < 8) feedback_ids[feedback_count++] = static_cast<UINT>(w);
  return DefWindowProcA(window, message, w, l);
}

TEST(HotkeyTest, IdsGrowDuplicatesAreRefusedAndHotkeysReachTheFeedbackWindow) {
  WNDCLASSA kind{};
  kind.lpfnWndProc = FeedbackProcedure;
  kind.lpszClassName = "sb_feedback_test";
  kind.hInstance = GetModuleHandleA(nullptr);
  RegisterClassA(&kind);
  const HWND feedback = CreateWindowA("sb_feedback_test", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  const HWND main = CreateWindowA("STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_TRUE(feedback && main);
  const LONG_PTR original = GetWindowLongPtrA(main, GWLP_WNDPROC);

  EXPECT_EQ(RegisterGlobalHotkey(main, feedback, 3, VK_F9), 33001);  // Ctrl+Shift+F9
  EXPECT_NE(GetWindowLongPtrA(main, GWLP_WNDPROC), original);
  EXPECT_TRUE(UnregisterGlobalHotkey(main, 33001));
  EXPECT_EQ(GetWindowLongPtrA(main, GWLP_WNDPROC), original);  // the last one gone
  EXPECT_EQ(RegisterGlobalHotkey(main, feedback, 3, VK_F9), 33002);
  EXPECT_EQ(RegisterGlobalHotkey(main, feedback, 3, VK_F9), 0);     // the same combination
  EXPECT_EQ(RegisterGlobalHotkey(main, feedback, 4, VK_F10), 33004);  // the refusal used 33003

  SendMessageA(main, WM_HOTKEY, 33002, 0);
  SendMessageA(main, WM_HOTKEY, 33004, 0);
  SendMessageA(main, WM_HOTKEY, 33005, 0);  // never issued
  SendMessageA(main, WM_HOTKEY, 7, 0);
  ASSERT_EQ(feedback_count, 2);
  EXPECT_EQ(feedback_ids[0], 33002u);
  EXPECT_EQ(feedback_ids[1], 33004u);
  // The old procedure still answers.
  char title[16] = {};
  GetWindowTextA(main, title, sizeof title);
  EXPECT_STREQ(title, "main");

  EXPECT_TRUE(UnregisterGlobalHotkey(main, 33002));
  // Ids that are not live (the empty tag's 0, a refused one, one already gone) change nothing:
  // 33004 still needs the procedure.
  EXPECT_FALSE(UnregisterGlobalHotkey(main, 0));
  EXPECT_FALSE(UnregisterGlobalHotkey(main, 33003));
  EXPECT_FALSE(UnregisterGlobalHotkey(main, 33002));
  EXPECT_NE(GetWindowLongPtrA(main, GWLP_WNDPROC), original);
  SendMessageA(main, WM_HOTKEY, 33004, 0);
  ASSERT_EQ(feedback_count, 3);
  EXPECT_EQ(feedback_ids[2], 33004u);
  EXPECT_TRUE(UnregisterGlobalHotkey(main, 33004));
  EXPECT_EQ(GetWindowLongPtrA(main, GWLP_WNDPROC), original);
  DestroyWindow(main);
  DestroyWindow(feedback);
}

TEST(TooltipTest, OneTooltipWindowForTheProcess) {
  const HWND a = CreateWindowA("BUTTON", "a", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  const HWND b = CreateWindowA("BUTTON", "b", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SetTooltip(nullptr, "x"), 0);
  // The first call's window still has the default maximum width, the second has ours.
  EXPECT_EQ(SetTooltip(a, "播放", true), -1);
  EXPECT_EQ(SetTooltip(b, "停止"), 0x7FFF);

  // A new text for a window replaces its old one.
  SetTooltip(a, "快捷键:Alt + A");
  HWND tips = FindWindowA(TOOLTIPS_CLASSA, nullptr);
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
  char text[80] = {};
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.uId = reinterpret_cast<UINT_PTR>(a);
  tool.lpszText = text;
  SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, "快捷键:Alt + A");
  DestroyWindow(a);
  DestroyWindow(b);
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SystemServicesTest, EnvironmentFilesProgramsAndTheClock) {
  SetEnvironmentVariableA("SB_SERVICES_PROBE", "天空 blue");
  EXPECT_EQ(GetEnvironmentText("SB_SERVICES_PROBE"), "天空 blue");
  SetEnvironmentVariableA("SB_SERVICES_PROBE", nullptr);
  EXPECT_EQ(GetEnvironmentText("SB_SERVICES_PROBE"), "");

  const std::string folder = TempFolder("sb-system");
  const std::string file = folder + "\\皮肤.bin";
  const std::uint8_t head[] = {'a', 0, 'b'};
  const std::uint8_t tail[] = {'z'};
  ASSERT_TRUE(WriteFile(file, {runtime::ByteSetRef(head), runtime::ByteSetRef(), runtime::ByteSetRef(tail)}));
  EXPECT_EQ(FileBytes(file), std::string("a\0bz", 4));
  ASSERT_TRUE(WriteFile(file, {runtime::ByteSetRef(tail)}));  // replaced, not appended
  EXPECT_EQ(FileBytes(file), "z");
  EXPECT_FALSE(WriteFile("", {runtime::ByteSetRef(tail)}));
  EXPECT_FALSE(WriteFile(folder + "\\no-such-folder\\x.bin", {runtime::ByteSetRef(tail)}));

  // Waiting means the program's work is done when the call returns.
  const std::string marker = folder + "\\ran.txt";
  DeleteFileA(marker.c_str());
  EXPECT_TRUE(RunProgram("cmd.exe /c echo ran> \"" + marker + "\"", true, 1));
  EXPECT_NE(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(RunProgram("no-such-program-here.exe", false));

  SYSTEMTIME before;
  GetLocalTime(&before);
  const runtime::CivilTime now = runtime::SplitDateTime(Now());
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_EQ(now.month, before.wMonth);
  EXPECT_EQ(now.day, before.wDay);
  EXPECT_NEAR(now.hour * 3600 + now.minute * 60 + now.second,
              before.wHour * 3600 + before.wMinute * 60 + before.wSecond, 2);
}

}  // namespace
}  // namespace services
