#include "skin/window_wrapper.h"

#include <commctrl.h>

namespace skin {
namespace {

constexpr char kWrapperProperty[] = "WindowWrapper";
constexpr char kReplacedProperty[] = "WindowWrapper.Procedure";
constexpr int kControlIdStart = 500;

HINSTANCE module = nullptr;
int lastControlId = kControlIdStart;

HINSTANCE Module() { return module ? module : GetModuleHandleA(nullptr); }

}  // namespace

void WindowWrapper::InitialiseModule(HINSTANCE instance) {
  module = instance;
  lastControlId = kControlIdStart;
  // The control-hosting class lives in atl.dll, which stays loaded for the class's sake.
  if (HMODULE atl = LoadLibraryA("atl.dll")) {
    using AtlAxWinInitFunction = BOOL(WINAPI*)();
    if (auto init = reinterpret_cast<AtlAxWinInitFunction>(
            reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")))) {
      init();
    }
  }
}

WindowWrapper::WindowWrapper() = default;

WindowWrapper::~WindowWrapper() { Release(); }

HWND WindowWrapper::CreateHotkeyControl(HWND parent, DWORD extraStyle, int x, int y, int width, int height,
                                        DWORD exStyle) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&classes);
  const int id = ++lastControlId;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | extraStyle | WS_CLIPSIBLINGS;
  HWND made = CreateWindowExA(exStyle, HOTKEY_CLASSA, "", style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Module(), nullptr);
  if (!made) return nullptr;
  SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  Release();  // a control still held is left to its own procedure
  Subclass(made);
  return made;
}

std::uint16_t WindowWrapper::GetHotkey() const {
  if (!window_) return 0;
  return static_cast<std::uint16_t>(SendMessageA(window_, HKM_GETHOTKEY, 0, 0));
}

void WindowWrapper::SetHotkey(std::uint16_t value) {
  if (window_) SendMessageA(window_, HKM_SETHOTKEY, value, 0);
}

void WindowWrapper::Subclass(HWND window) {
  window_ = window;
  replaced_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  // The replaced procedure stays with the window, so it keeps being called even when another
  // subclass sits on top of ours and we cannot step out of the chain.
  SetPropA(window, kReplacedProperty, reinterpret_cast<HANDLE>(replaced_));
  SetPropA(window, kWrapperProperty, this);
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowWrapper::Procedure));
}

void WindowWrapper::Release() {
  if (!window_) return;
  if (IsWindow(window_)) {
    RemovePropA(window_, kWrapperProperty);
    if (GetWindowLongPtrA(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowWrapper::Procedure)) {
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replaced_));
      RemovePropA(window_, kReplacedProperty);
    }
  }
  window_ = nullptr;
  replaced_ = nullptr;
}

LRESULT CALLBACK WindowWrapper::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto replaced = reinterpret_cast<WNDPROC>(GetPropA(window, kReplacedProperty));
  if (message == WM_NCDESTROY) {
    // The control goes with its dialog; the wrapper waits for the next one.
    if (auto* self = static_cast<WindowWrapper*>(GetPropA(window, kWrapperProperty))) {
      self->window_ = nullptr;
      self->replaced_ = nullptr;
    }
    RemovePropA(window, kWrapperProperty);
    RemovePropA(window, kReplacedProperty);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replaced));
  }
  return replaced ? CallWindowProcA(replaced, window, message, wParam, lParam)
                  : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace skin
