#include "app/board_rules.h"

#include <algorithm>

namespace board {
namespace {

constexpr std::string_view kSoundButtonPrefix = "按钮_音效";
constexpr std::string_view kSlotButtonPrefix = "按钮_自定义音效_";
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

std::string HotkeyText(int key, int state) {
  if (key == 0) return {};
  std::string text;
  if (state & kStateCtrl) text += "Ctrl + ";
  if (state & kStateShift) text += "Shift + ";
  if (state & kStateAlt) text += "Alt + ";
  text += static_cast<char>(key);
  return text;
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
