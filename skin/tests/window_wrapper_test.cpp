// The hotkey control made through the window wrapper, on real windows under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "skin/window_wrapper.h"

namespace skin {
namespace {

// A plain top-level window to hold the controls, like the hotkey dialog.
class Parent {
 public:
  // Hidden unless keys are to reach it: showing a top-level window costs Wine a round trip to X.
  explicit Parent(bool shown = false) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WrapperTestParent";
    RegisterClassA(&wc);  // a second registration fails harmlessly
    window_ = CreateWindowExA(0, "WrapperTestParent", "parent", WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0), 40, 40, 320, 200,
                              nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~Parent() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  Parent(const Parent&) = delete;
  Parent& operator=(const Parent&) = delete;
  HWND Get() const { return window_; }
  void Destroy() { DestroyWindow(window_); }

 private:
  HWND window_ = nullptr;
};

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

class WindowWrapperTest : public ::testing::Test {
 protected:
  void SetUp() override { WindowWrapper::InitialiseModule(GetModuleHandleA(nullptr)); }
};

TEST_F(WindowWrapperTest, InitialisingRegistersTheControlHostingClass) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA("atl.dll"), "AtlAxWin", &info));
}

TEST_F(WindowWrapperTest, TheControlAsTheDialogMakesIt) {
  Parent parent;
  WindowWrapper wrapper;
  EXPECT_EQ(wrapper.Handle(), nullptr);
  EXPECT_EQ(wrapper.GetHotkey(), 0);
  wrapper.SetHotkey(0x0241);  // no window: nothing to set, nothing breaks

  const HWND control = wrapper.CreateHotkeyControl(parent.Get(), WS_VISIBLE | WS_BORDER, 96, 16, 184, 22, WS_EX_CLIENTEDGE);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(wrapper.Handle(), control);
  EXPECT_EQ(ClassName(control), "msctls_hotkey32");
  EXPECT_EQ(GetParent(control), parent.Get());
  EXPECT_EQ(GetDlgCtrlID(control), 501);
  char title[16] = "x";
  GetWindowTextA(control, title, sizeof title);
  EXPECT_STREQ(title, "");

  const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
  const LONG_PTR wanted = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_CLIPSIBLINGS;
  EXPECT_EQ(style & wanted, wanted);
  EXPECT_EQ(style & (WS_POPUP | WS_DISABLED | WS_DLGFRAME), 0);
  EXPECT_EQ(GetWindowLongPtrA(control, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, WS_EX_CLIENTEDGE);

  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, parent.Get(), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 96);
  EXPECT_EQ(rect.top, 16);
  EXPECT_EQ(rect.right - rect.left, 184);
  EXPECT_EQ(rect.bottom - rect.top, 22);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));

  // The defaults: 100 x 20 with a client edge; the next id.
  Parent other;
  WindowWrapper second;
  const HWND plain = second.CreateHotkeyControl(other.Get(), 0, 5, 6);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(GetDlgCtrlID(plain), 502);
  GetWindowRect(plain, &rect);
  EXPECT_EQ(rect.right - rect.left, 100);
  EXPECT_EQ(rect.bottom - rect.top, 20);
  EXPECT_EQ(GetWindowLongPtrA(plain, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(WindowWrapperTest, HotkeyRoundTripAndTypedCombination) {
  Parent parent(true);
  WindowWrapper wrapper;
  const HWND control = wrapper.CreateHotkeyControl(parent.Get(), WS_BORDER, 10, 10);
  ASSERT_NE(control, nullptr);

  for (std::uint16_t value : {0x0241, 0x0770, 0x0130, 0x0000}) {  // Ctrl+A, Shift+Ctrl+Alt+F1, Shift+0, none
    wrapper.SetHotkey(value);
    EXPECT_EQ(wrapper.GetHotkey(), value) << value;
    EXPECT_EQ(SendMessageA(control, HKM_GETHOTKEY, 0, 0), value) << value;
  }

  // Ctrl+Alt+K typed into the focused control: the keys as the keyboard delivers them.
  SetForegroundWindow(parent.Get());
  SetFocus(control);
  ASSERT_EQ(GetFocus(), control);
  BYTE keys[256] = {};
  auto press = [&](UINT key, bool down) {
    keys[key] = down ? 0x80 : 0;
    if (key == VK_CONTROL) keys[VK_LCONTROL] = keys[key];
    if (key == VK_MENU) keys[VK_LMENU] = keys[key];
    SetKeyboardState(keys);
    const bool alt = keys[VK_MENU] != 0;
    const UINT message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    const LPARAM flags = (alt ? 0x20000000 : 0) | (down ? 1 : 0xC0000001);
    PostMessageA(control, message, key, flags);
    Pump();
  };
  press(VK_CONTROL, true);
  press(VK_MENU, true);
  press('K', true);
  press('K', false);
  press(VK_MENU, false);
  press(VK_CONTROL, false);
  EXPECT_EQ(wrapper.GetHotkey(), ((HOTKEYF_CONTROL | HOTKEYF_ALT) << 8) | 'K');
}

TEST_F(WindowWrapperTest, TheWrapperLetsGoOfADestroyedControlAndServesTheNextOne) {
  WindowWrapper wrapper;
  {
    Parent dialog;
    const HWND first = wrapper.CreateHotkeyControl(dialog.Get(), 0, 10, 10);
    ASSERT_NE(first, nullptr);
    wrapper.SetHotkey(0x0241);
    dialog.Destroy();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(wrapper.Handle(), nullptr);
    EXPECT_EQ(wrapper.GetHotkey(), 0);
  }
  Parent dialog;
  const HWND next = wrapper.CreateHotkeyControl(dialog.Get(), 0, 10, 10);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(GetDlgCtrlID(next), 502);
  EXPECT_EQ(wrapper.Handle(), next);
  EXPECT_EQ(wrapper.GetHotkey(), 0);  // a new control starts empty
  wrapper.SetHotkey(0x0446);
  EXPECT_EQ(wrapper.GetHotkey(), 0x0446);
}

TEST_F(WindowWrapperTest, DestroyingTheWrapperGivesTheControlItsProcedureBack) {
  Parent parent;
  HWND control = nullptr;
  LONG_PTR before = 0;
  {
    WindowWrapper wrapper;
    control = wrapper.CreateHotkeyControl(parent.Get(), 0, 10, 10);
    ASSERT_NE(control, nullptr);
    before = GetWindowLongPtrA(control, GWLP_WNDPROC);
  }
  ASSERT_TRUE(IsWindow(control));
  EXPECT_NE(GetWindowLongPtrA(control, GWLP_WNDPROC), before);
  EXPECT_EQ(GetPropA(control, "WindowWrapper"), nullptr);
  // Still a working hotkey control on its own.
  SendMessageA(control, HKM_SETHOTKEY, 0x0241, 0);
  EXPECT_EQ(SendMessageA(control, HKM_GETHOTKEY, 0, 0), 0x0241);
}

}  // namespace
}  // namespace skin
