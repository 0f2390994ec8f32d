// The keys a window takes before its units (Esc, Enter, F1, Tab), and the focus order.
#include "forms/forms_runtime_win.h"

#include <shellapi.h>
#include <algorithm>

#include "forms/forms_runtime_parts_win.h"

namespace forms {

using namespace runtime_parts;

// Keys of this window and its controls only: the chain also passes an owned window's keys on.
bool FormsRuntime::PreTranslate(WindowId id, MSG& message) {
  LiveWindow* live = Live(id);
  if (!live || live->loading || GetAncestor(message.hwnd, GA_ROOT) != live->handle) return false;
  if (live->accelerators.table && IsWindowEnabled(live->handle) &&
      TranslateAcceleratorA(live->handle, live->accelerators.table, &message)) {
    return true;
  }
  // A control the application put on the window itself (the hotkey input) is no unit, so its keys
  // never pass the units' keyboard handling: it keeps the keys it records, but Esc and Tab are
  // the window's.
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && !Find(message.hwnd) &&
      GetParent(message.hwnd) == live->handle) {
    const UINT key = static_cast<UINT>(message.wParam & 0xFF);
    if (key == VK_ESCAPE || key == VK_TAB) return HandleKey(*live, nullptr, key);
  }
  return false;
}

bool FormsRuntime::HandleKey(LiveWindow& live, UnitControl* focused, UINT key) {
  if (focused && focused->ClaimsKey(key)) return false;
  const WindowData settings = WindowSettings(RecordOf(live.id));
  switch (key) {
    case VK_ESCAPE:
      if (!settings.escCloses) return false;
      PostMessageA(live.handle, WM_CLOSE, 0, 0);
      return true;
    case VK_RETURN:
      if (!settings.enterMovesFocus) return false;
      MoveFocus(live, true);
      return true;
    case VK_F1:
      if (!settings.f1OpensHelp) return false;
      if (!settings.helpFile.empty()) {
        ShellExecuteA(live.handle, "open", settings.helpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      return true;
    case VK_TAB:
      if (GetKeyState(VK_MENU) < 0) return false;  // Alt+Tab belongs to the system
      MoveFocus(live, GetKeyState(VK_SHIFT) >= 0);
      return true;
    default:
      return false;
  }
}

// The units in list order, then the controls the application added to the window at run time,
// in the order they were made.
std::vector<HWND> FormsRuntime::FocusOrder(const LiveWindow& live) const {
  std::vector<HWND> order;
  for (std::size_t i = 1; i < live.units.size(); ++i) {
    if (live.units[i].handle) order.push_back(live.units[i].handle);
  }
  for (HWND child = GetWindow(live.handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!Find(child)) order.push_back(child);
  }
  return order;
}

void FormsRuntime::MoveFocus(LiveWindow& live, bool forward) {
  const std::vector<HWND> order = FocusOrder(live);
  const std::size_t n = order.size();
  if (n == 0) return;
  // From the window itself (or nothing of it) forward starts at the first, backward at the last.
  const auto focused = std::find(order.begin(), order.end(), GetFocus());
  const std::size_t current =
      focused == order.end() ? (forward ? n - 1 : 0) : static_cast<std::size_t>(focused - order.begin());
  for (std::size_t step = 1; step <= n; ++step) {
    HWND handle = order[forward ? (current + step) % n : (current + n - step) % n];
    if (!IsWindowVisible(handle) || !IsWindowEnabled(handle)) continue;
    if (!(GetWindowLongPtrA(handle, GWL_STYLE) & WS_TABSTOP)) continue;
    SetFocus(handle);
    return;
  }
}

}  // namespace forms
