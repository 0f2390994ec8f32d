#pragma once
// A general wrapper of one window, as the hotkey dialog uses it: it makes the hotkey input
// control, subclasses it and reads and writes its hotkey. One wrapper may serve one control
// after another: when its window is destroyed the wrapper lets go of it.
#include <windows.h>

#include <cstdint>

namespace skin {

class WindowWrapper {
 public:
  // The module initialiser: keeps the module handle, sets the control-id counter to 500 and
  // initialises the control-hosting window class (a missing library or entry is ignored).
  static void InitialiseModule(HINSTANCE module);

  WindowWrapper();
  // Gives the window its own procedure back.
  ~WindowWrapper();
  WindowWrapper(const WindowWrapper&) = delete;
  WindowWrapper& operator=(const WindowWrapper&) = delete;

  // A "msctls_hotkey32" child of `parent` with WS_CHILD | WS_VISIBLE | WS_TABSTOP |
  // WS_CLIPSIBLINGS and `extraStyle`, the next control id and the default GUI font; it becomes
  // this wrapper's window. Null when it could not be made.
  HWND CreateHotkeyControl(HWND parent, DWORD extraStyle, int x, int y, int width = 100, int height = 20,
                           DWORD exStyle = WS_EX_CLIENTEDGE);
  // Low byte the virtual key, high byte the flags (1 Shift, 2 Ctrl, 4 Alt); 0 without a window.
  std::uint16_t GetHotkey() const;
  void SetHotkey(std::uint16_t value);
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Subclass(HWND window);
  void Release();

  HWND window_ = nullptr;
  WNDPROC replaced_ = nullptr;
};

}  // namespace skin
