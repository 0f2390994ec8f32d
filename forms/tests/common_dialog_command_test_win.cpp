// The open and save dialogs of a common-dialog unit, answered from a second thread like a user.
#include <gtest/gtest.h>

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "forms/common_dialog_command.h"
#include "forms/tests/command_window.h"

namespace forms {
namespace {

using testing::CommandWindowTest;
using testing::DialogSettings;
using testing::kCommandWindow;
using testing::kDialogUnit;

// What the user saw of the dialog before and after answering.
struct DialogSeen {
  std::atomic<bool> found{false};
  std::atomic<bool> warned{false};  // a message box came up over the dialog after Enter
  std::string title;
  std::string folder;
  int fileTypes = -1;
  int fileType = -1;
  std::string firstFileType;
};

// A visible dialog-class window of this process other than `except`; waits up to `tries` × 10 ms.
HWND FindProcessDialog(HWND except = nullptr, int tries = 1000) {
  struct Search {
    DWORD process;
    HWND except;
    HWND found;
  } search{GetCurrentProcessId(), except, nullptr};
  for (int i = 0; i < tries && !search.found; ++i) {
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          char name[16] = {};
          GetClassNameA(window, name, sizeof name);
          if (window != s->except && process == s->process && std::string(name) == "#32770" &&
              IsWindowVisible(window)) {
            s->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(10);
  }
  return search.found;
}

// The file-name field: an edit of its own, or the edit somewhere inside the name combo box.
HWND FileNameEdit(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, cmb13)) {
    HWND edit = nullptr;
    EnumChildWindows(
        combo,
        [](HWND child, LPARAM found) -> BOOL {
          char name[16] = {};
          GetClassNameA(child, name, sizeof name);
          if (std::string(name) != "Edit") return TRUE;
          *reinterpret_cast<HWND*>(found) = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    if (edit) return edit;
  }
  return GetDlgItem(dialog, edt1);
}

void PressCancel(HWND dialog) { PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }

// Types `name` and presses Enter; an empty name presses Cancel. A warning that comes up is
// answered "No" and the dialog then cancelled.
std::thread AnswerLater(std::string name, DialogSeen& seen) {
  return std::thread([name, &seen] {
    const HWND dialog = FindProcessDialog();
    if (!dialog) return;
    char text[MAX_PATH] = {};
    GetWindowTextA(dialog, text, sizeof text);
    seen.title = text;
    if (SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text)) > 0) seen.folder = text;
    const HWND types = GetDlgItem(dialog, cmb1);
    seen.fileTypes = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    seen.fileType = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    if (SendMessageA(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)) > 0) seen.firstFileType = text;
    seen.found = true;

    const HWND edit = FileNameEdit(dialog);
    if (name.empty() || !edit) {
      PressCancel(dialog);
      return;
    }
    // The field may hold the initial name: clear it first, as a user would.
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (char c : name) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);

    for (int i = 0; i < 300 && IsWindow(dialog); ++i) {
      if (HWND warning = FindProcessDialog(dialog, 1)) {
        seen.warned = true;
        PostMessageA(warning, WM_COMMAND, IDNO, 0);
        while (IsWindow(warning)) Sleep(10);
        PressCancel(dialog);
        return;
      }
      Sleep(10);
    }
    if (IsWindow(dialog)) PressCancel(dialog);  // never leave the test hanging
  });
}

class CommonDialogCommandTest : public CommandWindowTest {
 protected:
  void SetUp() override {
    CommandWindowTest::SetUp();
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    previous_ = previous;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    root_ = std::filesystem::path(temp) / ("common-dialog-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(root_ / "data" / "music");
    CloseHandle(CreateFileA((root_ / "data" / "music" / "clap.mp3").string().c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    SetCurrentDirectoryA(root_.string().c_str());
  }
  void TearDown() override {
    SetCurrentDirectoryA(previous_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    CommandWindowTest::TearDown();
  }

  // The dialog answered with `name` (empty: Cancel), and what it showed.
  bool Open(const std::string& name, DialogSeen& seen) {
    std::thread user = AnswerLater(name, seen);
    const bool confirmed = OpenCommonDialog(Dialog());
    user.join();
    return confirmed;
  }
  static std::string FileName() {
    return std::string(FormsRuntime::Instance().ReadProperty(kCommandWindow, kDialogUnit, 10).text().view());
  }
  static void Write(int property, std::int32_t value) {
    FormsRuntime::Instance().WriteProperty(kCommandWindow, kDialogUnit, property, runtime::ValueCell::Integer(value));
  }
  static void Write(int property, const char* text) {
    const runtime::TextValue block{std::string_view(text)};
    FormsRuntime::Instance().WriteProperty(kCommandWindow, kDialogUnit, property, runtime::ValueCell::Text(block.block()));
  }
  std::string Music() const { return (root_ / "data" / "music").string(); }

  std::filesystem::path root_;
  std::string previous_;
};

TEST_F(CommonDialogCommandTest, OpensInTheRelativeInitialDirectoryAndKeepsTheChosenPath) {
  Load();
  DialogSeen seen;
  ASSERT_TRUE(Open("clap.mp3", seen));
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, "选择自定义音效");
  EXPECT_EQ(seen.folder, Music());
  EXPECT_EQ(seen.fileTypes, 2);  // the two pairs of the filter
  EXPECT_EQ(seen.firstFileType, "支持的音效文件(*.mp3;*.wav;*.mid)");
  EXPECT_EQ(seen.fileType, 0);
  EXPECT_EQ(FileName(), Music() + "\\clap.mp3");
  // The stored "do not change directory" is off: the current directory followed the choice.
  char now[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof now, now);
  EXPECT_EQ(now, Music());
}

TEST_F(CommonDialogCommandTest, CancelKeepsTheFileName) {
  Load();
  Write(10, "old.mp3");
  DialogSeen seen;
  EXPECT_FALSE(Open("", seen));
  EXPECT_TRUE(seen.found);
  EXPECT_EQ(FileName(), "old.mp3");
}

TEST_F(CommonDialogCommandTest, SaveDialogWithDefaultExtensionFilterIndexAndTitle) {
  Load();
  Write(8, 1);    // save
  Write(12, 1);   // the second filter
  Write(14, "wav");
  Write(9, "另存为");
  DialogSeen seen;
  ASSERT_TRUE(Open("take", seen));
  EXPECT_EQ(seen.title, "另存为");
  EXPECT_EQ(seen.fileType, 1);
  EXPECT_EQ(FileName(), Music() + "\\take.wav");
}

TEST_F(CommonDialogCommandTest, ANegativeFilterIndexPicksTheFirstAndNoFilterShowsNone) {
  Load();
  Write(12, -3);
  DialogSeen seen;
  EXPECT_FALSE(Open("", seen));
  EXPECT_EQ(seen.fileType, 0);

  Write(11, "   ");  // blank: no filter list
  DialogSeen bare;
  EXPECT_FALSE(Open("", bare));
  ASSERT_TRUE(bare.found);
  EXPECT_LE(bare.fileTypes, 0);
}

TEST_F(CommonDialogCommandTest, FlagsFromTheBoolProperties) {
  Load();
  // Property, whether it is set, the dialog type, the name typed and what comes of it.
  const struct {
    int property;
    bool set;
    std::int32_t type;
    const char* typed;
    bool warned;
    bool confirmed;
  } cases[] = {
      {16, true, 0, "missing.mp3", true, false},   // file must exist
      {16, false, 0, "missing.mp3", false, true},
      {17, true, 1, "clap.mp3", true, false},      // overwrite prompt, answered "No"
      {17, false, 1, "clap.mp3", false, true},
  };
  for (const auto& c : cases) {
    SetCurrentDirectoryA(root_.string().c_str());  // a confirmed choice moved it
    Write(8, c.type);
    Write(16, 0);
    Write(17, 0);
    Write(c.property, c.set ? 1 : 0);
    Write(10, "");
    DialogSeen seen;
    EXPECT_EQ(Open(c.typed, seen), c.confirmed) << c.property << " " << c.set;
    EXPECT_EQ(seen.warned.load(), c.warned) << c.property << " " << c.set;
    EXPECT_EQ(FileName(), c.confirmed ? Music() + "\\" + c.typed : "") << c.property << " " << c.set;
  }

  // With "do not change directory" the current directory stays where it was.
  SetCurrentDirectoryA(root_.string().c_str());
  Write(8, 0);
  Write(19, 1);
  DialogSeen seen;
  ASSERT_TRUE(Open("clap.mp3", seen));
  char now[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof now, now);
  EXPECT_EQ(now, root_.string());
}

TEST_F(CommonDialogCommandTest, NoDialogForAnotherTypeOrAClosedWindow) {
  EXPECT_FALSE(OpenCommonDialog(Dialog()));  // not loaded
  Load();
  Write(8, 2);  // the font dialog is not one of ours
  EXPECT_FALSE(OpenCommonDialog(Dialog()));
  EXPECT_FALSE(OpenCommonDialog(Ref(testing::kComboUnit, kind_ids::kComboBox)));
}

}  // namespace
}  // namespace forms
