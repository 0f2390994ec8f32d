#pragma once
// Tooltips and global hotkeys: one tooltip window and one hotkey registry per process.
#include <windows.h>

#include <string>

namespace services {

// The process's tooltip window is made at the first call (balloon style only then); 0 for a
// null window, otherwise what TTM_SETMAXTIPWIDTH returns.
int SetTooltip(HWND window, const std::string& text, bool balloon = false, bool centred = false);

// The hotkey's id (33001 upward, never reused) or 0 when the system refuses it. The first
// registration takes over `window`'s procedure; WM_HOTKEY then sends 0x8075 with the id to
// `feedback`, the label unit that raises its Feedback event.
int RegisterGlobalHotkey(HWND window, HWND feedback, int modifier_code, int virtual_key);
// An id that is not live is ignored (false); the procedure goes back when the last live hotkey
// is released.
bool UnregisterGlobalHotkey(HWND window, int id);

inline constexpr UINT kHotkeyFeedbackMessage = 0x8075;

}  // namespace services
