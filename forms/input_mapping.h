#pragma once
// The arguments of the common mouse and key events, worked out from a message's values.
#include <cstdint>

namespace forms {

namespace key_state {
inline constexpr std::int32_t kCtrl = 1;
inline constexpr std::int32_t kShift = 2;
inline constexpr std::int32_t kAlt = 4;
}  // namespace key_state

// The virtual key a key event reports: the low byte, with the keypad's digits, minus, decimal
// point and divide reported as the main keyboard's keys.
std::int32_t EventKeyCode(std::uintptr_t wParam);

// Ctrl, Shift and Alt as held; a modifier key pressed (or released) on its own does not count
// itself. `key` is the event's virtual key, 0 for mouse events.
std::int32_t ModifierState(bool ctrl, bool shift, bool alt, std::int32_t key = 0);

// Client coordinates as the mouse messages carry them: unsigned 16 bits each.
inline std::int32_t MouseX(std::intptr_t lParam) { return static_cast<std::int32_t>(lParam & 0xFFFF); }
inline std::int32_t MouseY(std::intptr_t lParam) { return static_cast<std::int32_t>((lParam >> 16) & 0xFFFF); }

// Notches of a wheel message: its signed delta in units of 120.
std::int32_t WheelNotches(std::uintptr_t wParam);

// The common event a message raises (negative index), 0 for none.
std::int32_t CommonEventOf(std::uint32_t message);

}  // namespace forms
