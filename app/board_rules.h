#pragma once
// The board's text rules: configuration key names, hotkey texts and flags, the names offered for
// a custom slot. Texts are the program's 8-bit (GBK) bytes.
#include <string>
#include <string_view>

namespace board {

// Modifier bits as the board stores them: 1 Ctrl, 2 Shift, 4 Alt.
inline constexpr int kStateCtrl = 1;
inline constexpr int kStateShift = 2;
inline constexpr int kStateAlt = 4;
// The hotkey input control's own modifier bits.
inline constexpr int kControlShift = 1;
inline constexpr int kControlCtrl = 2;
inline constexpr int kControlAlt = 4;

int StateFromControlFlags(int flags);
int ControlFlagsFromState(int state);

// A virtual key as the user reads it: letters and digits as themselves, others by name ("F1",
// "Num 5", "Up", "Delete", ";"); a key without a name as "#<code>".
std::string KeyName(int key);
// "" for key 0; else "Ctrl + ", "Shift + ", "Alt + " as set, then the key's name.
std::string HotkeyText(int key, int state);

// The names of the sound buttons and of the user-defined slot buttons begin with these.
inline constexpr std::string_view kSoundButtonPrefix = "按钮_音效";
inline constexpr std::string_view kSlotButtonPrefix = "按钮_自定义音效_";

// The number of a sound button's name "按钮_音效<number>" as it stands after the prefix, e.g.
// "123"; every button keys its hotkey by its whole number (see the note in the .cpp).
std::string SoundButtonNumber(std::string_view unitName);
// The two bytes after "按钮_自定义音效_": the slot number as its name spells it.
std::string SlotNumber(std::string_view unitName);

// At most 30 bytes of the path after its last "\" or "/" (the whole path without one).
std::string SuggestedSlotName(std::string_view path);

// The desktop link of the program: "<desktop>\<name without its last extension>.lnk", or
// "<desktop>\<name>.lnk" when the name holds no ".".
std::string ShortcutPath(std::string_view desktop, std::string_view fileName);

// The index the channel box starts with for the saved passage: the passage itself from 1 to
// `highest`, else item 1. The device list allows up to its number of items (the box clamps that
// one to its last item), the fixed list up to 4. Item 0, no output, is never chosen at start.
int StartSelection(int savedPassage, int highest);

// A link target with a scheme or drive ("https:", "tencent:", "C:") as it is; a bare name
// ("manual.html") is a file beside the program.
std::string ResolveLinkTarget(std::string_view target, std::string_view runPrefix);

}  // namespace board
