#pragma once
// The runtime's own invisible window. It exists so that another thread can hand the end of the
// process to the main thread with a synchronous message.
#include <windows.h>

#include <functional>

namespace runtime {

// wParam carries the exit code.
inline constexpr UINT kEndProcessMessage = WM_APP + 999;  // 0x83E7

class HiddenRuntimeWindow {
 public:
  using EndHandler = std::function<void(int exitCode)>;

  HiddenRuntimeWindow() = default;
  HiddenRuntimeWindow(const HiddenRuntimeWindow&) = delete;
  HiddenRuntimeWindow& operator=(const HiddenRuntimeWindow&) = delete;
  ~HiddenRuntimeWindow() { Destroy(); }

  // Creates it on the calling thread; false when the window cannot be made.
  bool Create(EndHandler onEnd);
  void Destroy();
  HWND Get() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  EndHandler onEnd_;
};

}  // namespace runtime
