#include "runtime/services/hotkeys_win.h"

#include <commctrl.h>

#include "runtime/services/service_rules.h"

namespace services {
namespace {

struct HotkeyRegistry {
  WNDPROC replaced = nullptr;
  HotkeyIds ids;
  HWND feedback = nullptr;
};

HotkeyRegistry& Registry() {
  static HotkeyRegistry registry;
  return registry;
}

HWND tooltip = nullptr;  // lives as long as the process

LRESULT CALLBACK HotkeyProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  HotkeyRegistry& r = Registry();
  if (message == WM_HOTKEY && r.ids.WasIssued(w)) SendMessageA(r.feedback, kHotkeyFeedbackMessage, w, 0);
  return CallWindowProcA(r.replaced, window, message, w, l);
}

}  // namespace

int SetTooltip(HWND window, const std::string& text, bool balloon, bool centred) {
  if (!window) return 0;
  if (!tooltip) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    tooltip = CreateWindowExA(0, "Tooltips_class32", nullptr,
                              TTS_ALWAYSTIP | TTS_NOPREFIX | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  TTTOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;  // 44 bytes on 32-bit; the version-1 record here
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | (centred ? TTF_CENTERTIP : 0);
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  tool.hinst = GetModuleHandleA(nullptr);
  tool.lpszText = const_cast<char*>(text.c_str());
  // A window that already has a tip gets the new text: a second tool for it would never show.
  SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  return static_cast<int>(SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, 0x7FFF));
}

int RegisterGlobalHotkey(HWND window, HWND feedback, int modifier_code, int virtual_key) {
  HotkeyRegistry& r = Registry();
  r.feedback = feedback;
  if (!r.replaced) {
    r.replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotkeyProcedure)));
  }
  const int id = r.ids.Issue();
  if (!RegisterHotKey(window, id, HotkeyModifiers(modifier_code), static_cast<UINT>(virtual_key))) return 0;
  r.ids.Accepted(id);
  return id;
}

// Only ids this registry holds are released: the procedure goes back with the last live one, never
// while another hotkey still needs it.
bool UnregisterGlobalHotkey(HWND window, int id) {
  HotkeyRegistry& r = Registry();
  if (!r.ids.Release(id)) return false;
  bool ok = UnregisterHotKey(window, id) != FALSE;
  if (!r.ids.AnyLive() && r.replaced) {
    ok = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(r.replaced)) != 0;
    r.replaced = nullptr;
  }
  return ok;
}

}  // namespace services
