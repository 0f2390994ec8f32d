#include "runtime/message_loop.h"

#include <algorithm>

#include "runtime/time_marks_win.h"

namespace runtime {

void MessageLoop::Run() {
  entered_ = true;
  if (!hooks_.anyWindowAlive || !hooks_.anyWindowAlive()) return;
  Loop(Mode::Main);
}

void MessageLoop::RunModal(HWND window) {
  HWND saved = modal_;
  modal_ = window;
  // A dialog of a top-most window must not fall behind it.
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner && (GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (IsWindow(window)) Loop(Mode::Modal);
  // An outer modal window that went while this one ran must not keep its loop alive.
  modal_ = (saved && IsWindow(saved)) ? saved : nullptr;
}

void MessageLoop::WindowDestroyed(HWND window) {
  if (window && window == modal_) modal_ = nullptr;
  preTranslate_.erase(window);
  if (entered_ && !(hooks_.anyWindowAlive && hooks_.anyWindowAlive())) PostQuitMessage(0);
}

void MessageLoop::RegisterIdleRoutine(HWND window, IdleRoutine routine, void* argument) {
  idleRoutines_.push_back({window, routine, argument});
}

void MessageLoop::SetPreTranslateHook(HWND window, PreTranslateHook hook) {
  preTranslate_[window] = std::move(hook);
}

void MessageLoop::RemovePreTranslateHook(HWND window) { preTranslate_.erase(window); }

void MessageLoop::Loop(Mode mode) {
  bool idle = true;
  long idleCount = 0;
  MSG waiting;
  for (;;) {
    while (idle && !PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
      RunIdleRoutines();
      idle = OnIdle(idleCount++);
      if (mode == Mode::Modal && !modal_) return;
    }
    do {
      // A quit is for the main loop: leave it queued.
      if (mode == Mode::Modal && PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE) &&
          waiting.message == WM_QUIT) {
        return;
      }
      MSG taken;
      if (!PumpMessage(mode, taken)) return;
      if (mode == Mode::Modal && !modal_) return;
      if (RestartsIdle(taken)) {
        idle = true;
        idleCount = 0;
      }
    } while (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE));
  }
}

bool MessageLoop::PumpMessage(Mode mode, MSG& message) {
  // For the benchmark: the moment the thread is about to wait with nothing left to do.
  if (marks::Enabled() && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) marks::Mark("idle");
  if (!GetMessageA(&message, nullptr, 0, 0)) {
    const int code = static_cast<int>(message.wParam);
    // Taken by a nested loop after all: put it back for the outer one.
    if (mode == Mode::Modal) PostQuitMessage(code);
    else quitCode_ = code;
    return false;
  }
  if (message.message == WM_LBUTTONUP || message.message == WM_KEYUP) marks::Mark("input");
  if (!PreTranslate(message)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

bool MessageLoop::PreTranslate(MSG& message) {
  if (!message.hwnd) return hooks_.threadMessage && hooks_.threadMessage(message);
  for (HWND window = message.hwnd; window; window = GetParent(window)) {
    auto found = preTranslate_.find(window);
    if (found != preTranslate_.end()) {
      PreTranslateHook hook = found->second;  // the hook may remove itself
      if (hook && hook(message)) return true;
    }
    if (window == mainWindow_) break;
  }
  return false;
}

void MessageLoop::RunIdleRoutines() {
  // Routines may register others while they run: walk by index, newest first.
  for (std::size_t i = idleRoutines_.size(); i-- > 0;) {
    if (i >= idleRoutines_.size()) continue;
    const IdleEntry entry = idleRoutines_[i];
    if (IsWindow(entry.window)) {
      entry.routine(entry.argument);
    } else {
      idleRoutines_.erase(idleRoutines_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

bool MessageLoop::OnIdle(long idleCount) {
  if (idleCount == 0) {
    idleStart_ = GetTickCount();
    declinedIdle_.clear();
    layerIdlePending_ = true;
  }
  if (layerIdlePending_) {
    layerIdlePending_ = hooks_.layerIdle && hooks_.layerIdle(idleCount);
    return true;
  }
  if (idleCount <= 1) return true;
  if (!hooks_.loadedWindowIds || !hooks_.raiseIdleEvent) return false;
  const std::uint32_t elapsed = GetTickCount() - idleStart_;
  bool wantsMore = false;
  for (std::uint32_t windowId : hooks_.loadedWindowIds()) {
    if (std::find(declinedIdle_.begin(), declinedIdle_.end(), windowId) != declinedIdle_.end()) continue;
    if (hooks_.raiseIdleEvent(windowId, elapsed)) {
      wantsMore = true;
    } else {
      declinedIdle_.push_back(windowId);
    }
  }
  return wantsMore;
}

bool MessageLoop::RestartsIdle(const MSG& message) {
  if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
    const bool same = message.message == lastMouseMessage_ && message.pt.x == lastMousePoint_.x &&
                      message.pt.y == lastMousePoint_.y;
    lastMouseMessage_ = message.message;
    lastMousePoint_ = message.pt;
    return !same;
  }
  // Paint and the caret's system timer come by themselves and must not keep idle work going.
  constexpr UINT kSystemTimer = 0x0118;
  return message.message != WM_PAINT && message.message != kSystemTimer;
}

}  // namespace runtime
