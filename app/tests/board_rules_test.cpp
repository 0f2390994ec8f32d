#include "app/board_rules.h"

#include <gtest/gtest.h>

#include <utility>

namespace board {
namespace {

TEST(HotkeyFlags, ControlFlagsAndStoredStateSwapCtrlAndShift) {
  struct Case { int control; int state; };
  const Case cases[] = {{0, 0}, {1, 2}, {2, 1}, {4, 4}, {3, 3}, {5, 6}, {6, 5}, {7, 7}};
  for (const Case& c : cases) {
    EXPECT_EQ(StateFromControlFlags(c.control), c.state) << c.control;
    EXPECT_EQ(ControlFlagsFromState(c.state), c.control) << c.state;
  }
  // Bits the control has no meaning for are dropped.
  EXPECT_EQ(StateFromControlFlags(8 | 1), 2);
}

TEST(HotkeyText, ModifiersInFixedOrderThenTheKeysName) {
  EXPECT_EQ(HotkeyText(0, 7), "");
  EXPECT_EQ(HotkeyText('A', 4), "Alt + A");
  EXPECT_EQ(HotkeyText(0x70, 3), "Ctrl + Shift + F1");
  EXPECT_EQ(HotkeyText('7', 7), "Ctrl + Shift + Alt + 7");
  EXPECT_EQ(HotkeyText('Z', 0), "Z");
}

TEST(HotkeyText, KeysThatAreNotLettersOrDigitsShowTheirNames) {
  const std::pair<int, const char*> cases[] = {
      {0x87, "F24"},   {0x60, "Num 0"},  {0x69, "Num 9"}, {0x6B, "Num +"},  {0x26, "Up"},
      {0x28, "Down"},  {0x24, "Home"},   {0x23, "End"},   {0x2D, "Insert"}, {0x2E, "Delete"},
      {0xBA, ";"},     {0xDC, "\\"},     {0xC0, "`"},     {0x20, "Space"},  {0xFF, "#255"},
  };
  for (const auto& [key, name] : cases) EXPECT_EQ(KeyName(key), name) << key;
}

TEST(ButtonNames, NumbersTakenFromTheUnitNames) {
  EXPECT_EQ(SoundButtonNumber("按钮_音效1"), "1");
  EXPECT_EQ(SoundButtonNumber("按钮_音效12"), "12");
  // Three-digit buttons no longer share the key of their first two digits.
  EXPECT_EQ(SoundButtonNumber("按钮_音效123"), "123");
  EXPECT_EQ(SoundButtonNumber("按钮"), "");
  EXPECT_EQ(SlotNumber("按钮_自定义音效_7"), "7");
  EXPECT_EQ(SlotNumber("按钮_自定义音效_30"), "30");
  EXPECT_EQ(SlotNumber("按钮_自定义音效_"), "");
}

TEST(SuggestedSlotName, PartAfterTheLastSeparatorCutTo30Bytes) {
  EXPECT_EQ(SuggestedSlotName("C:\\sounds\\drum.mp3"), "drum.mp3");
  EXPECT_EQ(SuggestedSlotName("data/music\\a/b.wav"), "b.wav");
  EXPECT_EQ(SuggestedSlotName("nofolder.mp3"), "nofolder.mp3");
  EXPECT_EQ(SuggestedSlotName("C:\\x\\"), "");
  const std::string name = "C:\\a\\abcdefghijklmnopqrstuvwxyz0123456789.mp3";
  EXPECT_EQ(SuggestedSlotName(name), "abcdefghijklmnopqrstuvwxyz0123");
  // Bytes, not characters: after "a" and 14 two-byte characters the cut halves the 15th.
  const std::string wide = "D:\\a掌声掌声掌声掌声掌声掌声掌声掌.mp3";
  const std::string cut = SuggestedSlotName(wide);
  ASSERT_EQ(cut.size(), 30u);
  EXPECT_EQ(cut.substr(0, 29), "a掌声掌声掌声掌声掌声掌声掌声");
  EXPECT_EQ(cut[29], std::string("掌")[0]);
}

TEST(ShortcutPath, LastExtensionReplacedOrLinkAppended) {
  EXPECT_EQ(ShortcutPath("C:\\Desk\\", "soundboard.exe"), "C:\\Desk\\\\soundboard.lnk");
  EXPECT_EQ(ShortcutPath("C:\\Desk\\", "board"), "C:\\Desk\\\\board.lnk");
  EXPECT_EQ(ShortcutPath("C:\\Desk\\", "my.board.exe"), "C:\\Desk\\\\my.board.lnk");
}

TEST(StartSelection, SavedPassageWithinRangeElseItemOne) {
  struct Case { int saved; int highest; int selected; };
  const Case cases[] = {
      {2, 4, 2}, {4, 4, 4}, {5, 4, 1}, {0, 4, 1}, {-3, 4, 1},  // fixed list
      {3, 3, 3}, {4, 3, 1}, {1, 1, 1},                         // device list: up to its item count
  };
  for (const Case& c : cases) EXPECT_EQ(StartSelection(c.saved, c.highest), c.selected) << c.saved;
}

TEST(ResolveLinkTarget, AddressesKeptBareNamesBesideTheProgram) {
  EXPECT_EQ(ResolveLinkTarget("manual.html", "C:\\board\\"), "C:\\board\\manual.html");
  EXPECT_EQ(ResolveLinkTarget("https://example.org/", "C:\\board\\"), "https://example.org/");
  EXPECT_EQ(ResolveLinkTarget("D:\\help.html", "C:\\board\\"), "D:\\help.html");
}

}  // namespace
}  // namespace board
