// Modal windows, closing and what goes with a destroyed window.
#include "forms/forms_runtime_win.h"

#include "forms/forms_runtime_parts_win.h"

namespace forms {

using namespace runtime_parts;

void FormsRuntime::RunModal(LiveWindow& live) {
  const WindowId id = live.id;
  HWND handle = live.handle;
  for (const auto& [otherId, other] : live_) {
    if (otherId == id || !other->handle || !IsWindow(other->handle)) continue;
    live.disabledOthers.emplace_back(other->handle, IsWindowEnabled(other->handle) != FALSE);
    EnableWindow(other->handle, FALSE);
  }
  app_->Loop().RunModal(handle);
  // A quit can end the nested loop while the window is still there.
  if (LiveWindow* still = Live(id)) EnableOthers(*still);
}

void FormsRuntime::EnableOthers(LiveWindow& live) {
  // Before the modal window goes: the system hands the activation on to a window that is enabled
  // by then, so the owner gets the keyboard back.
  for (auto [other, enabled] : live.disabledOthers) {
    if (IsWindow(other)) EnableWindow(other, enabled);
  }
  live.disabledOthers.clear();
}

void FormsRuntime::CloseWindow(WindowId window, bool atOnce) {
  LiveWindow* live = Live(window);
  if (!live || !live->handle) return;
  live->closing = true;
  if (atOnce) {
    SendMessageA(live->handle, kCloseSelf, 0, 0);
  } else {
    PostMessageA(live->handle, kCloseSelf, 0, 0);
  }
}

void FormsRuntime::Destroyed(HWND handle, const Location& at) {
  byHandle_.erase(handle);
  LiveWindow* live = Live(at.window);
  if (!live) return;
  if (at.index != 0) {
    if (at.index < live->units.size() && live->units[at.index].handle == handle) live->units[at.index].handle = nullptr;
    return;
  }
  EnableOthers(*live);
  if (app_) app_->Loop().RemovePreTranslateHook(handle);
  for (LiveUnit& unit : live->units) {
    unit.cursor.Reset();
    if (unit.handle) byHandle_.erase(unit.handle);
  }
  auto found = live_.find(at.window);
  std::unique_ptr<LiveWindow> gone = std::move(found->second);
  live_.erase(found);
  if (app_) app_->WindowDestroyed(handle, at.window);
}

}  // namespace forms
