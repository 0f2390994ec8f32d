#include "forms/input_mapping.h"

namespace forms {
namespace {

constexpr std::int32_t kShiftKey = 0x10, kControlKey = 0x11, kMenuKey = 0x12;
constexpr std::int32_t kLeftShift = 0xA0, kRightShift = 0xA1, kLeftControl = 0xA2,
                       kRightControl = 0xA3, kLeftMenu = 0xA4, kRightMenu = 0xA5;

}  // namespace

std::int32_t EventKeyCode(std::uintptr_t wParam) {
  const auto key = static_cast<std::int32_t>(wParam & 0xFF);
  if (key >= 0x60 && key <= 0x69) return key - 0x60 + 0x30;
  if (key >= 0x6D && key <= 0x6F) return key - 0x6D + 0xBD;
  return key;
}

std::int32_t ModifierState(bool ctrl, bool shift, bool alt, std::int32_t key) {
  if (key == kControlKey || key == kLeftControl || key == kRightControl) ctrl = false;
  if (key == kShiftKey || key == kLeftShift || key == kRightShift) shift = false;
  if (key == kMenuKey || key == kLeftMenu || key == kRightMenu) alt = false;
  return (ctrl ? key_state::kCtrl : 0) | (shift ? key_state::kShift : 0) | (alt ? key_state::kAlt : 0);
}

std::int32_t WheelNotches(std::uintptr_t wParam) {
  const auto delta = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF);
  return delta / 120;
}

std::int32_t CommonEventOf(std::uint32_t message) {
  switch (message) {
    case 0x0201: return -1;  // WM_LBUTTONDOWN
    case 0x0202: return -2;  // WM_LBUTTONUP
    case 0x0203: return -3;  // WM_LBUTTONDBLCLK
    case 0x0204: return -4;  // WM_RBUTTONDOWN
    case 0x0205: return -5;  // WM_RBUTTONUP
    case 0x0200: return -6;  // WM_MOUSEMOVE
    case 0x0007: return -7;  // WM_SETFOCUS
    case 0x0008: return -8;  // WM_KILLFOCUS
    case 0x0100: case 0x0104: return -9;   // WM_KEYDOWN, WM_SYSKEYDOWN
    case 0x0101: case 0x0105: return -10;  // WM_KEYUP, WM_SYSKEYUP
    case 0x0102: return -11;  // WM_CHAR
    case 0x020A: return -12;  // WM_MOUSEWHEEL
    default: return 0;
  }
}

}  // namespace forms
