#include "runtime/hidden_window.h"

namespace runtime {
namespace {

constexpr char kClassName[] = "SoundboardRuntimeWindow";

bool RegisterClassOnce(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSA windowClass{};
  if (GetClassInfoA(instance, kClassName, &windowClass)) return true;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

bool HiddenRuntimeWindow::Create(EndHandler onEnd) {
  Destroy();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!RegisterClassOnce(instance, &Procedure)) return false;
  onEnd_ = std::move(onEnd);
  hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                          instance, nullptr);
  if (!hwnd_) return false;
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void HiddenRuntimeWindow::Destroy() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
}

LRESULT CALLBACK HiddenRuntimeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETMINMAXINFO) {
    // Zero size really: no minimum for a window nobody sees.
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{0, 0};
    return 0;
  }
  if (message == kEndProcessMessage) {
    auto* self = reinterpret_cast<HiddenRuntimeWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->onEnd_) self->onEnd_(static_cast<int>(wParam));
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace runtime
