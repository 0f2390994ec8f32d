// The benchmark's yardstick: a plain Win32 program with as many controls as the board and no
// skin. A 472 x 600 popup with a tab control over six pages of push buttons (the board's 44, 43,
// 43, 43, 45 and 30), six more buttons, a combo box, a trackbar and six labels. Switching a page
// hides the old page's buttons and shows the new page's one by one, as a plain program does. Its
// message loop leaves the same time marks as the board's.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "runtime/time_marks_win.h"

namespace {

constexpr int kPageButtons[] = {44, 43, 43, 43, 45, 30};
constexpr int kPages = static_cast<int>(std::size(kPageButtons));
constexpr int kTabWidth = 70, kTabHeight = 22;

struct Plain {
  HWND tabs = nullptr;
  std::array<std::vector<HWND>, kPages> pages;
  int shown = 0;
};

Plain plain;

HWND Child(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int w, int h) {
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

void ShowPage(int page) {
  for (HWND button : plain.pages[plain.shown]) ShowWindow(button, SW_HIDE);
  for (HWND button : plain.pages[page]) ShowWindow(button, SW_SHOW);
  plain.shown = page;
}

void CreateControls(HWND window) {
  plain.tabs = Child(window, WC_TABCONTROLA, "", WS_CLIPSIBLINGS | TCS_FIXEDWIDTH, 8, 30, 456, 440);
  SendMessageA(plain.tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(kTabWidth, kTabHeight));
  for (int page = 0; page < kPages; ++page) {
    std::string title = "分类" + std::to_string(page + 1);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = title.data();
    SendMessageA(plain.tabs, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
    for (int i = 0; i < kPageButtons[page]; ++i) {
      const std::string caption = "音效" + std::to_string(i + 1);
      HWND button = Child(plain.tabs, "BUTTON", caption.c_str(), BS_PUSHBUTTON, 8 + (i % 5) * 88, 30 + (i / 5) * 44,
                          77, 40);
      if (page != 0) ShowWindow(button, SW_HIDE);
      plain.pages[page].push_back(button);
    }
  }
  for (int i = 0; i < 6; ++i) Child(window, "BUTTON", "按钮", BS_PUSHBUTTON, 8 + i * 76, 560, 70, 30);
  HWND combo = Child(window, WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_VSCROLL, 104, 478, 248, 200);
  for (const char* item : {"不输出音效", "系统音源", "4/5", "6/7", "8/9"}) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  HWND slider = Child(window, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS, 104, 510, 248, 20);
  SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
  SendMessageA(slider, TBM_SETPOS, TRUE, 100);
  for (int i = 0; i < 6; ++i) Child(window, "STATIC", "标签", SS_LEFT, 8 + (i % 3) * 150, 6 + (i / 3) * 535, 140, 16);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == plain.tabs && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageA(plain.tabs, TCM_GETCURSEL, 0, 0)));
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  runtime::marks::Mark("start");
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "PlainBoard";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "PlainBoard", "plain board", WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN, 50, 50, 472,
                                600, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  MSG message;
  for (;;) {
    // The same marks as the board's loop: "idle" when about to wait, "input" for a release.
    if (runtime::marks::Enabled() && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) runtime::marks::Mark("idle");
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    if (message.message == WM_LBUTTONUP || message.message == WM_KEYUP) runtime::marks::Mark("input");
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
