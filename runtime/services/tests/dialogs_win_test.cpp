#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "runtime/services/dialogs_win.h"
#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"

namespace services {
namespace {

// Waits up to five seconds for a top-level dialog with the caption to be on screen.
HWND FindDialog(const char* caption) {
  for (int i = 0; i < 500; ++i) {
    const HWND found = FindWindowA("#32770", caption);
    if (found && IsWindowVisible(found)) return found;
    Sleep(10);
  }
  return nullptr;
}

// What the second thread saw of the box before pressing its button.
struct BoxSeen {
  std::atomic<bool> found{false};
  std::atomic<bool> topmost{false};
  std::atomic<bool> other_enabled{true};
  std::string text;
};

// Finds the box like a user would, notes what it shows and presses the button `button`.
std::thread PressLater(const char* caption, int button, HWND other, BoxSeen& seen) {
  return std::thread([=, &seen] {
    const HWND box = FindDialog(caption);
    if (!box) return;
    seen.found = true;
    seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    seen.other_enabled = other ? IsWindowEnabled(other) != FALSE : true;
    char text[128] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
    seen.text = text;
    const HWND pressed = GetDlgItem(box, button);
    if (pressed) {
      PostMessageA(pressed, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      PostMessageA(pressed, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    } else {
      PostMessageA(box, WM_COMMAND, button, 0);
    }
  });
}

TEST(MessageBoxTest, AnswersMappedAndTaskModalUnlessSystemModal) {
  const HWND other = CreateWindowA("STATIC", "other", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
  const struct {
    unsigned flags;
    int button;
    int answer;
  } cases[] = {
      {MB_YESNO, IDNO, 6},
      {MB_YESNO, IDYES, 5},
      {MB_OKCANCEL, IDCANCEL, 1},
      {MB_ABORTRETRYIGNORE, IDRETRY, 3},
      {MB_OK, IDOK, 0},
      {MB_OK | MB_SYSTEMMODAL, IDOK, 0},
  };
  for (const auto& c : cases) {
    BoxSeen seen;
    std::thread user = PressLater("声板提问", c.button, other, seen);
    EXPECT_EQ(ShowMessageBox("要播放吗？", c.flags, "声板提问"), c.answer) << c.flags << " " << c.button;
    user.join();
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "要播放吗？");
    const bool system_modal = c.flags & MB_SYSTEMMODAL;
    EXPECT_EQ(seen.topmost.load(), system_modal) << c.flags;
    // A task-modal box disables the thread's other windows while it shows.
    EXPECT_EQ(seen.other_enabled.load(), system_modal) << c.flags;
  }
  // The default caption.
  BoxSeen seen;
  std::thread user = PressLater("信息：", IDOK, nullptr, seen);
  EXPECT_EQ(ShowMessageBox("好", MB_OK), 0);
  user.join();
  EXPECT_TRUE(seen.found);
  DestroyWindow(other);
}

struct InputSeen {
  std::atomic<bool> found{false};
  std::atomic<bool> hidden{false};
  std::string initial, prompt;
};

// Types `keys` into the box's visible edit like a user, then presses `button`.
std::thread TypeLater(const char* caption, const char* keys, int button, InputSeen& seen) {
  return std::thread([=, &seen] {
    const HWND box = FindDialog(caption);
    if (!box) return;
    seen.found = true;
    HWND edit = GetDlgItem(box, kInputPlainEditId);
    if (!IsWindowVisible(edit)) edit = GetDlgItem(box, kInputHiddenEditId);
    seen.hidden = (GetWindowLongA(edit, GWL_STYLE) & ES_PASSWORD) != 0;
    char text[128] = {};
    GetWindowTextA(edit, text, sizeof text);
    seen.initial = text;
    GetDlgItemTextA(box, kInputPromptId, text, sizeof text);
    seen.prompt = text;
    for (const char* k = keys; *k; ++k) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*k), 1);
    PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
  });
}

TEST(InputBoxTest, ModesFilterTypedCharactersAndCancelGivesNothing) {
  const struct {
    int mode;
    const char* keys;
    const char* stored;
    bool hidden;
  } cases[] = {
      {1, "ab-1.5", "ab-1.5", false},
      {2, "a-1.2x3", "-123", false},
      {3, "a-1.2x3", "-1.23", false},
      {4, "pw-1", "pw-1", true},
      {0, "a-1", "a-1", false},  // clamped to 1
      {9, "q", "q", true},       // clamped to 4
  };
  for (const auto& c : cases) {
    InputSeen seen;
    std::thread user = TypeLater("声板输入", c.keys, IDOK, seen);
    const auto text = ShowInputBox("新的名字：", "声板输入", "旧名", c.mode);
    user.join();
    ASSERT_TRUE(seen.found) << c.mode;
    EXPECT_EQ(seen.initial, "旧名");
    EXPECT_EQ(seen.prompt, "新的名字：");
    EXPECT_EQ(seen.hidden.load(), c.hidden) << c.mode;
    ASSERT_TRUE(text) << c.mode;
    EXPECT_EQ(*text, c.stored) << c.mode;  // the typed text replaced the selected initial one
  }
  // Without prompt or title: the small template under its own caption; cancel stores nothing.
  InputSeen seen;
  std::thread user = TypeLater("请输入：", "xyz", IDCANCEL, seen);
  EXPECT_FALSE(ShowInputBox("", "", "", 1));
  user.join();
  EXPECT_TRUE(seen.found);
}

TEST(MessageBoxTest, ANumberOrBoolShowsAsTextAByteSetAsNothing) {
  const std::uint8_t raw[] = {'x'};
  const runtime::ByteSet bytes(raw);
  const struct {
    runtime::ValueCell message;
    const char* shown;
  } cases[] = {
      {runtime::ValueCell::Double(-2.5), "-2.5"},
      {runtime::ValueCell::Bool(true), "真"},
      {runtime::ValueCell::ByteSet(bytes.block()), ""},
  };
  for (const auto& c : cases) {
    BoxSeen seen;
    std::thread user = PressLater("声板数值", IDOK, nullptr, seen);
    EXPECT_EQ(ShowMessageBox(c.message, MB_OK, "声板数值"), 0);
    user.join();
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.text, c.shown);
  }
}

TEST(InputBoxTest, TheConfirmedTextGoesIntoTheVariableByItsKind) {
  std::int32_t count = 5;
  InputSeen seen;
  std::thread user = TypeLater("声板输入", "-42", IDOK, seen);
  EXPECT_TRUE(ShowInputBox("次数：", "声板输入", "5", runtime::ValueCell::IndirectVariable(runtime::tags::Integer, &count), 2));
  user.join();
  EXPECT_EQ(count, -42);

  char* name = runtime::TextValue("旧名").release();
  const auto nameVariable = runtime::ValueCell::IndirectVariable(runtime::tags::Text, &name);
  InputSeen typed;
  user = TypeLater("声板输入", "abc", IDOK, typed);
  EXPECT_TRUE(ShowInputBox("名字：", "声板输入", name, nameVariable));
  user.join();
  EXPECT_STREQ(name, "abc");

  // Cancel stores nothing.
  InputSeen cancelled;
  user = TypeLater("声板输入", "zzz", IDCANCEL, cancelled);
  EXPECT_FALSE(ShowInputBox("名字：", "声板输入", name, nameVariable));
  user.join();
  EXPECT_TRUE(cancelled.found);
  EXPECT_STREQ(name, "abc");
  runtime::TextValue::Adopt(name);
}

}  // namespace
}  // namespace services
