#include "app/board_rules.h"

#include <algorithm>

namespace board {
namespace {

constexpr std::size_t kSuggestedNameBytes = 30;

std::string_view After(std::string_view text, std::string_view prefix) {
  return text.substr(std::min(text.size(), prefix.size()));
}

}  // namespace

int StateFromControlFlags(int flags) {
  return ((flags & kControlShift) ? kStateShift : 0) | ((flags & kControlCtrl) ? kStateCtrl : 0) |
         ((flags & kControlAlt) ? kStateAlt : 0);
}

int ControlFlagsFromState(int state) {
  return ((state & kStateCtrl) ? kControlCtrl : 0) | ((state & kStateShift) ? kControlShift : 0) |
         ((state & kStateAlt) ? kControlAlt : 0);
}

// Letters and digits show as themselves; every other key by its name, as the keyboard labels it
// (the key code as a character would turn F1 into "p").
std::string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  if (key >= 0x60 && key <= 0x69) return "Num " + std::to_string(key - 0x60);
  struct Named {
    int key;
    const char* name;
  };
  static constexpr Named kNames[] = {
      {0x08, "Backspace"}, {0x09, "Tab"},      {0x0C, "Clear"},   {0x0D, "Enter"},      {0x13, "Pause"},
      {0x14, "Caps Lock"}, {0x1B, "Esc"},      {0x20, "Space"},   {0x21, "Page Up"},    {0x22, "Page Down"},
      {0x23, "End"},       {0x24, "Home"},     {0x25, "Left"},    {0x26, "Up"},         {0x27, "Right"},
      {0x28, "Down"},      {0x2C, "Print Screen"}, {0x2D, "Insert"}, {0x2E, "Delete"},  {0x6A, "Num *"},
      {0x6B, "Num +"},     {0x6C, "Num Enter"}, {0x6D, "Num -"},   {0x6E, "Num ."},      {0x6F, "Num /"},
      {0x90, "Num Lock"},  {0x91, "Scroll Lock"}, {0xBA, ";"},     {0xBB, "="},          {0xBC, ","},
      {0xBD, "-"},         {0xBE, "."},        {0xBF, "/"},       {0xC0, "`"},          {0xDB, "["},
      {0xDC, "\\"},        {0xDD, "]"},        {0xDE, "'"},
  };
  for (const Named& named : kNames) {
    if (named.key == key) return named.name;
  }
  return "#" + std::to_string(key);
}

std::string HotkeyText(int key, int state) {
  if (key == 0) return {};
  std::string text;
  if (state & kStateCtrl) text += "Ctrl + ";
  if (state & kStateShift) text += "Shift + ";
  if (state & kStateAlt) text += "Alt + ";
  return text + KeyName(key);
}

// The old key took only two bytes after the prefix, so "按钮_音效123" shared "btn12" with
// "按钮_音效12" and setting one silently replaced the other's stored hotkey. Buttons 1 to 99 keep
// exactly their old keys; the three-digit ones now have keys of their own.
std::string SoundButtonNumber(std::string_view unitName) {
  return std::string(After(unitName, kSoundButtonPrefix));
}

std::string SlotNumber(std::string_view unitName) {
  return std::string(After(unitName, kSlotButtonPrefix).substr(0, 2));
}

std::string SuggestedSlotName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return std::string(name.substr(0, kSuggestedNameBytes));
}

std::string ShortcutPath(std::string_view desktop, std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  std::string path(desktop);
  path += '\\';
  path += dot == std::string_view::npos ? fileName : fileName.substr(0, dot);
  path += ".lnk";
  return path;
}

int StartSelection(int savedPassage, int highest) {
  return savedPassage >= 1 && savedPassage <= highest ? savedPassage : 1;
}

std::string ResolveLinkTarget(std::string_view target, std::string_view runPrefix) {
  if (target.find(':') != std::string_view::npos) return std::string(target);
  return std::string(runPrefix) + std::string(target);
}

}  // namespace board
