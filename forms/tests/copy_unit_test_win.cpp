// CopyUnit and DestroyUnit of units made at run time, on a loaded window with a button inside a
// group box and a combo box beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "forms/tests/command_window.h"
#include "forms/unit_commands.h"

namespace forms {
namespace {

using testing::CommandWindowTest;
using testing::kComboUnit;
using testing::kCommandWindow;
using testing::kCommandWindowUnit;
using testing::selectionsSeen;
using testing::TestUnit;

constexpr UnitId kGroup = 0x16010021;
constexpr UnitId kPlay = 0x16010022;

class CopyUnitTest : public CommandWindowTest {
 protected:
  void SetUp() override {
    App();
    selectionsSeen.clear();
    TestUnit window;
    window.id = kCommandWindowUnit;
    window.kind = kind_ids::kWindow;
    window.left = 20;
    window.top = 20;
    window.width = 300;
    window.height = 200;
    window.flags = 0;
    TestUnit group;
    group.id = kGroup;
    group.kind = kind_ids::kGroupBox;
    group.name = "分组框1";
    group.left = 5;
    group.top = 5;
    group.width = 200;
    group.height = 100;
    group.children = {kPlay};
    TestUnit play;
    play.id = kPlay;
    play.name = "按钮_播放";
    play.left = 10;
    play.top = 20;
    play.width = 60;
    play.height = 24;
    play.parent = kGroup;
    play.tag = "3";
    play.events = {{0, testing::kSelectionMadeSlot}};  // its handler records each click
    play.kindData = testing::ButtonData("播放");
    TestUnit combo;
    combo.id = kComboUnit;
    combo.kind = kind_ids::kComboBox;
    combo.name = "组合框1";
    combo.left = 150;
    combo.top = 120;
    combo.width = 100;
    combo.height = 20;
    combo.events = {{0, testing::kSelectionMadeSlot}};
    combo.kindData = testing::ComboData({"甲", "乙"}, {1, 2});
    bytes_ = testing::ResourceBytes({testing::WindowOf(kCommandWindow, {window, group, play, combo})}).data;
    ProcessWindowDefinitions().Read(std::as_bytes(std::span(bytes_)), HandlerTableCodeBase(testing::kCommandHandlers));
    Load();
  }

  static runtime::UnitRef Play() { return Ref(kPlay, kind_ids::kButton); }
  static runtime::UnitRef EmptyButton() { return Ref(0, kind_ids::kButton); }
  static HWND Handle(const runtime::UnitRef& unit) { return GetWindowHandle(unit); }
  static std::string Caption(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static RECT InParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  static std::size_t Clicks(HWND button) {
    const std::size_t before = selectionsSeen.size();
    SendMessageA(button, BM_CLICK, 0, 0);
    Pump();
    return selectionsSeen.size() - before;
  }
  static const UnitList& Units() { return ProcessWindowDefinitions().Resource().WindowById(kCommandWindow)->units; }
};

TEST_F(CopyUnitTest, ACopiedButtonShowsInTheSourcesParentWithoutItsHandlers) {
  runtime::UnitRef copy = EmptyButton();
  ASSERT_TRUE(CopyUnit(Play(), copy));
  EXPECT_EQ(copy.window_id, static_cast<std::int32_t>(kCommandWindow));
  EXPECT_NE(copy.unit_id, static_cast<std::int32_t>(kPlay));
  EXPECT_EQ(copy.kind, kind_ids::kButton);
  EXPECT_TRUE(IsUnitValid(copy));
  EXPECT_EQ(std::string(GetUnitName(copy).view()), "按钮_播放");

  HWND made = Handle(copy);
  ASSERT_NE(made, nullptr);
  ASSERT_NE(made, Handle(Play()));
  EXPECT_EQ(GetParent(made), Handle(Ref(kGroup, kind_ids::kGroupBox)));
  EXPECT_EQ(Caption(made), "播放");
  EXPECT_TRUE(GetWindowLongPtrA(made, GWL_STYLE) & WS_VISIBLE);
  const RECT at = InParent(made);
  EXPECT_EQ(at.left, 10);
  EXPECT_EQ(at.top, 20);
  EXPECT_EQ(at.right - at.left, 60);
  EXPECT_EQ(std::string(FormsRuntime::Instance().ReadProperty(kCommandWindow, static_cast<UnitId>(copy.unit_id), 4).text().view()),
            "3");

  const auto copyIndex = Units().IndexOf(static_cast<UnitId>(copy.unit_id));
  ASSERT_TRUE(copyIndex);
  EXPECT_TRUE(Units().Record(*copyIndex).events.empty());
  EXPECT_EQ(Clicks(Handle(Play())), 1u);  // the source keeps its handler
  EXPECT_EQ(Clicks(made), 0u);

  // A second copy is a unit of its own.
  runtime::UnitRef second = EmptyButton();
  ASSERT_TRUE(CopyUnit(copy, second));
  EXPECT_NE(second.unit_id, copy.unit_id);
  EXPECT_NE(Handle(second), made);

  // The copies are part of the window's definition: a new load makes them again.
  FormsRuntime::Instance().DestroyAllWindows();
  Pump();
  Load();
  ASSERT_NE(Handle(second), nullptr);
  EXPECT_EQ(Caption(Handle(second)), "播放");
  EXPECT_EQ(GetParent(Handle(second)), Handle(Ref(kGroup, kind_ids::kGroupBox)));
}

TEST_F(CopyUnitTest, RefusedCopiesChangeNothing) {
  const std::size_t units = Units().Count();
  const struct {
    const char* what;
    runtime::UnitRef source;
    KindId targetKind;
  } cases[] = {
      {"a target of another kind", Play(), kind_ids::kComboBox},
      {"the window itself", Ref(0, kind_ids::kWindow), kind_ids::kWindow},
      {"a unit the window lacks", Ref(0x1601FFFF, kind_ids::kButton), kind_ids::kButton},
  };
  for (const auto& c : cases) {
    runtime::UnitRef target = Ref(0, c.targetKind);
    const runtime::UnitRef before = target;
    EXPECT_FALSE(CopyUnit(c.source, target)) << c.what;
    EXPECT_EQ(target.unit_id, before.unit_id) << c.what;
    EXPECT_EQ(Units().Count(), units) << c.what;
  }

  FormsRuntime::Instance().DestroyAllWindows();
  Pump();
  runtime::UnitRef target = EmptyButton();
  EXPECT_FALSE(CopyUnit(Play(), target)) << "its window is not loaded";
  EXPECT_EQ(Units().Count(), units);
}

TEST_F(CopyUnitTest, DestroyUnitTakesAUnitOutOfItsWindow) {
  runtime::UnitRef copy = EmptyButton();
  ASSERT_TRUE(CopyUnit(Play(), copy));
  HWND made = Handle(copy);
  DestroyUnit(copy);
  EXPECT_FALSE(IsWindow(made));
  EXPECT_FALSE(IsUnitValid(copy));
  EXPECT_FALSE(Units().IndexOf(static_cast<UnitId>(copy.unit_id)));
  EXPECT_EQ(Handle(copy), nullptr);
  EXPECT_TRUE(FormsRuntime::Instance().IsLoaded(kCommandWindow));

  // A stored unit goes the same way, out of its group's children; the units after it in the
  // list still answer for themselves.
  HWND play = Handle(Play());
  DestroyUnit(Play());
  EXPECT_FALSE(IsWindow(play));
  EXPECT_FALSE(IsUnitValid(Play()));
  const auto group = Units().IndexOf(kGroup);
  ASSERT_TRUE(group);
  EXPECT_TRUE(Units().Record(*group).children.empty());
  EXPECT_EQ(FormsRuntime::Instance().ReadProperty(kCommandWindow, kComboUnit, 0).cell().AsInteger(), 150);
  // Its messages still find it: a key on the closed list raises its SelectionMade.
  HWND combo = Handle(Ref(kComboUnit, kind_ids::kComboBox));
  ASSERT_NE(combo, nullptr);
  FormsRuntime::Instance().WriteProperty(kCommandWindow, kComboUnit, 19, runtime::ValueCell::Integer(0));
  SetFocus(combo);
  PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(combo, WM_KEYUP, VK_DOWN, 0xC0000001);
  Pump();
  EXPECT_EQ(selectionsSeen, (std::vector<std::int32_t>{1}));
}

}  // namespace
}  // namespace forms
