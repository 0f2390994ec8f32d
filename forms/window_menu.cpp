#include "forms/window_menu.h"

namespace forms {

std::string ShortcutText(std::uint16_t key, std::uint8_t modifiers) {
  std::string name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    name = std::string(1, static_cast<char>(key));
  } else if (key >= 0x70 && key <= 0x87) {  // F1..F24
    name = "F" + std::to_string(key - 0x6F);
  } else {
    return {};
  }
  std::string text;
  if (modifiers & 1) text += "Ctrl+";
  if (modifiers & 2) text += "Shift+";
  if (modifiers & 4) text += "Alt+";
  return text + name;
}

std::vector<MenuEntry> MenuEntries(const UnitList& units) {
  std::vector<MenuEntry> entries;
  for (std::size_t i = 0; i < units.Count(); ++i) {
    if (!units.IsMenuItem(i)) continue;
    const UnitRecord& record = units.Record(i);
    MenuEntry entry;
    entry.index = i;
    // A level can only open the submenu of the entry before it.
    const std::uint32_t deepest = entries.empty() ? 0 : entries.back().level + 1;
    entry.level = record.menuValues[0] < deepest ? record.menuValues[0] : deepest;
    if (!entries.empty() && entry.level > entries.back().level) entries.back().opensSubmenu = true;
    entry.command = static_cast<std::uint16_t>(kFirstMenuCommand + entries.size());
    entry.flags = record.menuValues[2];
    entry.separator = record.menuCaption == "-";
    entry.key = static_cast<std::uint16_t>(record.menuValues[1] & 0xFFFF);
    entry.modifiers = static_cast<std::uint8_t>((record.menuValues[1] >> 16) & 7);
    entry.text = record.menuCaption;
    const std::string shortcut = ShortcutText(entry.key, entry.modifiers);
    if (!shortcut.empty()) entry.text += "\t" + shortcut;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace forms
