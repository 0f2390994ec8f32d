#pragma once
// The one message loop of the GUI thread: idle work between messages, nested modal loops, the
// pre-translate chain, and the rule that the last window gone ends the loop.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace runtime {

// What the loop needs to know about the program's windows; the forms layer fills it in.
struct LoopHooks {
  // True while any loaded window still has a live window. A window being destroyed must no
  // longer count when WindowDestroyed is called for it.
  std::function<bool()> anyWindowAlive;
  // Ids of the loaded windows, and their idle event (elapsed ms since the idle period began);
  // false means the window wants no more idle events in this period.
  std::function<std::vector<std::uint32_t>()> loadedWindowIds;
  std::function<bool(std::uint32_t windowId, std::uint32_t elapsedMs)> raiseIdleEvent;
  // Background work of the window layer itself; true while it has more to do.
  std::function<bool(long idleCount)> layerIdle;
  // Messages without a window; true consumes one.
  std::function<bool(MSG& message)> threadMessage;
};

using IdleRoutine = void (*)(void* argument);
// True consumes the message before it is translated and dispatched.
using PreTranslateHook = std::function<bool(MSG& message)>;

class MessageLoop {
 public:
  explicit MessageLoop(const LoopHooks& hooks) : hooks_(hooks) {}
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The main loop. Returns at once when no window is alive; otherwise when WM_QUIT arrives.
  void Run();
  bool Entered() const { return entered_; }
  // The wParam of the WM_QUIT that ended the main loop.
  int QuitCode() const { return quitCode_; }

  // Runs a nested loop until `window` is destroyed (or WM_QUIT arrives, which is left for the
  // outer loop). Nests: the previous modal window is current again afterwards.
  void RunModal(HWND window);
  HWND CurrentModal() const { return modal_; }

  // Called once a runtime window is finally gone (WM_NCDESTROY).
  void WindowDestroyed(HWND window);

  // Called from the last registered to the first on every idle pass while `window` exists;
  // dropped on the first pass after it is gone.
  void RegisterIdleRoutine(HWND window, IdleRoutine routine, void* argument);
  void ClearIdleRoutines() { idleRoutines_.clear(); }

  // The chain ends at the main window: a message goes to its window's hook, then to each
  // parent's up to the main window's.
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  HWND MainWindow() const { return mainWindow_; }
  void SetPreTranslateHook(HWND window, PreTranslateHook hook);
  void RemovePreTranslateHook(HWND window);

 private:
  enum class Mode { Main, Modal };
  void Loop(Mode mode);
  bool PumpMessage(Mode mode, MSG& message);  // false: WM_QUIT taken
  bool PreTranslate(MSG& message);
  void RunIdleRoutines();
  bool OnIdle(long idleCount);
  bool RestartsIdle(const MSG& message);

  struct IdleEntry {
    HWND window;
    IdleRoutine routine;
    void* argument;
  };

  const LoopHooks& hooks_;
  bool entered_ = false;
  int quitCode_ = 0;
  HWND modal_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::vector<IdleEntry> idleRoutines_;
  std::map<HWND, PreTranslateHook> preTranslate_;

  // Idle period bookkeeping.
  DWORD idleStart_ = 0;
  bool layerIdlePending_ = false;
  std::vector<std::uint32_t> declinedIdle_;
  // Repeated mouse moves to the same point do not end the idle period.
  UINT lastMouseMessage_ = 0;
  POINT lastMousePoint_{-1, -1};
};

}  // namespace runtime
