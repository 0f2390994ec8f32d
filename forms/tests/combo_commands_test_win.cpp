// The combo-box commands and CurrentIndex on a real combo box of a loaded window.
#include <gtest/gtest.h>

#include <windows.h>

#include "forms/combo_commands.h"
#include "forms/tests/command_window.h"

namespace forms {
namespace {

using testing::CommandWindowTest;
using testing::kComboUnit;
using testing::kCommandWindow;
using testing::selectionsSeen;

class ComboCommandsTest : public CommandWindowTest {
 protected:
  static std::int32_t CurrentIndex() {
    return FormsRuntime::Instance().ReadProperty(kCommandWindow, kComboUnit, 19).cell().AsInteger();
  }
  static void WriteCurrentIndex(std::int32_t value) {
    FormsRuntime::Instance().WriteProperty(kCommandWindow, kComboUnit, 19, runtime::ValueCell::Integer(value));
  }
  static HWND Box() { return FormsRuntime::Instance().UnitHandle(kCommandWindow, kComboUnit); }
  // A key as the user presses it: queued to the focused box and dispatched by the loop.
  static void PressKey(UINT key) {
    PostMessageA(Box(), WM_KEYDOWN, key, 1);
    PostMessageA(Box(), WM_KEYUP, key, 0xC0000001);
    Pump();
  }
};

TEST_F(ComboCommandsTest, StoredAndAddedItemsWithTheirValues) {
  Load();
  EXPECT_EQ(ComboCount(Combo()), 2);
  EXPECT_EQ(ComboItemText(Combo(), 1), "乙");
  EXPECT_EQ(ComboItemValue(Combo(), 1), 8);

  EXPECT_EQ(AddComboItem(Combo(), "丙", 9), 2);
  EXPECT_EQ(AddComboItem(Combo(), "丁"), 3);
  EXPECT_EQ(ComboCount(Combo()), 4);
  EXPECT_EQ(ComboItemText(Combo(), 2), "丙");
  EXPECT_EQ(ComboItemValue(Combo(), 2), 9);
  EXPECT_EQ(ComboItemValue(Combo(), 3), 0);  // the default value

  EXPECT_TRUE(SetComboItemValue(Combo(), 0, -5));
  EXPECT_EQ(ComboItemValue(Combo(), 0), -5);
  EXPECT_EQ(ComboItemText(Combo(), 0), "甲");

  for (std::int32_t outside : {-1, 4, 1000}) {
    EXPECT_EQ(ComboItemValue(Combo(), outside), -1) << outside;
    EXPECT_EQ(ComboItemText(Combo(), outside), "") << outside;
    EXPECT_FALSE(SetComboItemValue(Combo(), outside, 1)) << outside;
  }
}

TEST_F(ComboCommandsTest, NothingWithoutALoadedBox) {
  auto expectNothing = [](const runtime::UnitRef& combo) {
    EXPECT_EQ(ComboCount(combo), 0);
    EXPECT_EQ(ComboItemValue(combo, 0), -1);
    EXPECT_FALSE(SetComboItemValue(combo, 0, 1));
    EXPECT_EQ(ComboItemText(combo, 0), "");
    EXPECT_EQ(AddComboItem(combo, "x", 1), -1);
  };
  expectNothing(Combo());  // its window is not loaded
  Load();
  expectNothing(Ref(0x1601FFFF, kind_ids::kComboBox));  // no such unit in the loaded window
  EXPECT_EQ(ComboCount(Combo()), 2);  // nothing was added while the window was closed
}

TEST_F(ComboCommandsTest, CurrentIndexWrittenByCodeIsClampedAndRaisesNothing) {
  Load();
  AddComboItem(Combo(), "丙", 9);
  const struct {
    std::int32_t written;
    std::int32_t read;
  } cases[] = {{2, 2}, {1, 1}, {3, 2}, {99, 2}, {-1, -1}, {0, 0}, {-5, -1}};
  for (const auto& c : cases) {
    WriteCurrentIndex(c.written);
    EXPECT_EQ(CurrentIndex(), c.read) << c.written;
    EXPECT_EQ(SendMessageA(Box(), CB_GETCURSEL, 0, 0), c.read) << c.written;
  }
  Pump();
  EXPECT_TRUE(selectionsSeen.empty());
}

TEST_F(ComboCommandsTest, TheUsersPickRaisesSelectionMadeOnceItHasSettled) {
  Load();
  AddComboItem(Combo(), "丙", 9);
  WriteCurrentIndex(0);
  SetFocus(Box());
  ASSERT_EQ(GetFocus(), Box());

  // An arrow key on the closed list moves the selection at once.
  PressKey(VK_DOWN);
  EXPECT_EQ(selectionsSeen, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(CurrentIndex(), 1);

  // Open it, walk down to the added item and take it with Enter.
  PressKey(VK_F4);
  ASSERT_TRUE(SendMessageA(Box(), CB_GETDROPPEDSTATE, 0, 0));
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_FALSE(SendMessageA(Box(), CB_GETDROPPEDSTATE, 0, 0));
  ASSERT_FALSE(selectionsSeen.empty());
  EXPECT_EQ(selectionsSeen.back(), 2);
  EXPECT_EQ(CurrentIndex(), 2);
  EXPECT_EQ(ComboItemValue(Combo(), CurrentIndex()), 9);
  // The Enter that closed the list stays with the box: the window is still there.
  EXPECT_TRUE(FormsRuntime::Instance().IsLoaded(kCommandWindow));
}

TEST_F(ComboCommandsTest, ItemsAddedAtRunTimeSurviveARemadeBox) {
  Load();
  AddComboItem(Combo(), "丙", 9);
  WriteCurrentIndex(2);
  HWND before = Box();
  // ComboType can only be set at creation: the box is made anew in place.
  FormsRuntime::Instance().WriteProperty(kCommandWindow, kComboUnit, 8, runtime::ValueCell::Integer(1));
  ASSERT_NE(Box(), before);
  EXPECT_EQ(ComboCount(Combo()), 3);
  EXPECT_EQ(ComboItemText(Combo(), 2), "丙");
  EXPECT_EQ(ComboItemValue(Combo(), 2), 9);
  EXPECT_EQ(ComboItemValue(Combo(), 1), 8);
  EXPECT_EQ(CurrentIndex(), 2);
  Pump();
  EXPECT_TRUE(selectionsSeen.empty());
}

}  // namespace
}  // namespace forms
