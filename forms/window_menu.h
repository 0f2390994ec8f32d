#pragma once
// The window menu as its menu-item units describe it, in list order. An item's first value is
// its nesting level (0: the menu bar; an item followed by deeper items opens their submenu), the
// second its shortcut: the virtual key in the low 16 bits, Ctrl, Shift and Alt in bits 16, 17
// and 18 (0: none). A caption of "-" is a separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/unit_list.h"

namespace forms {

inline constexpr std::uint32_t kMenuHidden = 1u << 0;
inline constexpr std::uint32_t kMenuDisabled = 1u << 1;
inline constexpr std::uint32_t kMenuChecked = 1u << 2;
// Commands of menu items are this plus the item's place among the window's items.
inline constexpr std::uint16_t kFirstMenuCommand = 0x7000;

struct MenuEntry {
  std::size_t index = 0;       // in the unit list
  std::uint32_t level = 0;     // never more than one below the entry before
  std::uint16_t command = 0;
  bool opensSubmenu = false;
  bool separator = false;
  std::uint32_t flags = 0;
  std::uint16_t key = 0;       // 0: no shortcut
  std::uint8_t modifiers = 0;  // 1 Ctrl, 2 Shift, 4 Alt
  std::string text;            // the caption, with the shortcut after a tab
};

std::vector<MenuEntry> MenuEntries(const UnitList& units);

// "Ctrl+Shift+O", "F5"; empty for keys without a plain name.
std::string ShortcutText(std::uint16_t key, std::uint8_t modifiers);

}  // namespace forms
