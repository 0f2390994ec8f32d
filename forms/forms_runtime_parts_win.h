#pragma once
// What the parts of the forms runtime share: the private messages, the window's event numbers
// and the small readings of a window's settings.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "forms/kind_data.h"
#include "forms/unit_kinds_win.h"
#include "forms/window_menu.h"

namespace forms::runtime_parts {

inline constexpr UINT kUnitsCreated = 0x806F;
inline constexpr UINT kWindowUnitsCreated = 0x8004;
inline constexpr UINT kCloseSelf = 0x8065;  // a closing window destroys itself once the caller returned
inline constexpr UINT_PTR kSubclassId = 0x5342;

namespace window_event {
inline constexpr std::int32_t kCreated = 0, kCloseRequested = 1, kDestroying = 2, kMoved = 3, kResized = 4,
                              kIdle = 7, kShown = 10, kHidden = 11;
}  // namespace window_event

// The window unit's settings; the defaults when the list holds none.
const WindowData& WindowSettings(const std::vector<KindData>& data);
// The same, read from the window's own unit alone (a key press need not read every unit).
WindowData WindowSettings(const WindowRecord& record);

// Ctrl, Shift and Alt as held now; a modifier key pressed on its own does not count itself.
std::int32_t HeldModifiers(std::int32_t key = 0);

// The menu bar of the items that show; null when none does.
HMENU MakeMenu(const std::vector<MenuEntry>& entries);

[[noreturn]] void FailAccess();

// A control's creation context from its record: disabled and tab stop from the unit's flags.
controls::UnitCreateContext ControlContext(const UnitRecord& record, const KindData& data, HWND window,
                                           int controlId);

}  // namespace forms::runtime_parts
