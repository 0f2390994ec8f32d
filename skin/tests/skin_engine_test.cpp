#include <windows.h>

#include <gtest/gtest.h>

#include "skin/skin_engine.h"
#include "skin/tests/skin_test_support.h"
#include "skin/window_properties.h"

namespace skin::testing {
namespace {

constexpr UINT kAskOwner = WM_USER + 7;

// A stand-in kind procedure: answers with the window that owns the control, by its properties.
LRESULT CALLBACK ProbeProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAskOwner) {
    SkinnedWindow* owner = SkinEngine::Current() ? SkinEngine::Current()->OwnerOf(hwnd) : nullptr;
    return reinterpret_cast<LRESULT>(owner ? owner->hwnd : nullptr);
  }
  return CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
}

bool PushButtonsOnly(HWND, LONG_PTR style) {
  const LONG_PTR type = style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

class SkinEngineTest : public SkinTest {
 protected:
  SkinEngineTest() { engine->SetChildKinds({{ControlKind::kButtons, "Button", &PushButtonsOnly, &ProbeProcedure}}); }

  void Attach(HWND hwnd) { engine->AttachFrame(hwnd, {}, {}, false); }
  static std::intptr_t Prop(HWND hwnd, const char* name) { return props::Get(hwnd, name); }
};

TEST_F(SkinEngineTest, AttachFrameOnceAndItsRecord) {
  HWND hwnd = MakeFrame(10, 10, 300, 200);
  const LONG_PTR styleBefore = GetWindowLongPtrA(hwnd, GWL_STYLE);
  Attach(hwnd);
  Attach(hwnd);
  ASSERT_EQ(engine->Registry().Count(), 1u);
  SkinnedWindow& window = Record(hwnd);
  EXPECT_EQ(Prop(hwnd, props::kIndex), 1);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), &FrameProcedure);
  EXPECT_EQ(Prop(hwnd, props::kOldProc), reinterpret_cast<std::intptr_t>(window.oldProc));
  EXPECT_NE(window.oldProc, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE), styleBefore | WS_SYSMENU);
  EXPECT_EQ(window.captionHeight, 25);
  EXPECT_TRUE(window.hasMinimize);
  EXPECT_FALSE(window.hasMaximize);
  EXPECT_FALSE(window.dblClickMaximizes);
  EXPECT_TRUE(window.captionButtonsActive);
  EXPECT_EQ(window.captionTextColour, 0xFFFFFFu);
  EXPECT_EQ(window.minTrackWidth, 200);
  EXPECT_EQ(engine->Settings().accent, 0xDDCA22u);
  EXPECT_EQ(engine->Settings().defaultFill, GetSysColor(COLOR_BTNFACE));

  // A caption height below 25 is raised; a maximize box brings its button.
  HWND other = MakeFrame(10, 10, 300, 200, "x", WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  engine->AttachFrame(other, 10);
  SkinnedWindow& second = Record(other);
  EXPECT_EQ(second.captionHeight, 25);
  ASSERT_EQ(second.captionButtons.size(), 3u);
  EXPECT_EQ(second.captionButtons[1].command, CaptionCommand::kMaximizeRestore);
  EXPECT_FALSE(second.captionButtons[1].picture2.empty());
  EXPECT_EQ(second.strip.width, 26 + 26 + 38 + 2 + 3);
}

TEST_F(SkinEngineTest, ChildrenOfTheKindAreAttachedDirectChildrenOnly) {
  HWND hwnd = MakeFrame(10, 10, 300, 200);
  HWND push = Child(hwnd, "Button", BS_PUSHBUTTON, 10, 40, 60, 24, "a");
  HWND ownerDrawn = Child(hwnd, "Button", BS_OWNERDRAW, 80, 40, 60, 24, "b");
  HWND group = Child(hwnd, "Button", BS_GROUPBOX, 10, 80, 200, 100, "组");
  HWND inGroup = Child(group, "Button", BS_PUSHBUTTON, 10, 20, 60, 24, "c");
  HWND label = Child(hwnd, "Static", 0, 220, 40, 60, 20, "标签");
  const auto ownerDrawnProc = GetWindowLongPtrA(ownerDrawn, GWLP_WNDPROC);
  Attach(hwnd);
  SkinnedWindow& window = Record(hwnd);
  auto& buttons = window.Kind(ControlKind::kButtons);
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0]->hwnd, push);
  EXPECT_EQ(Prop(push, props::kIndex), 1);
  EXPECT_EQ(Prop(push, props::kOwner), 1);
  EXPECT_EQ(Prop(push, props::kOldProc), reinterpret_cast<std::intptr_t>(buttons[0]->oldProc));
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(push, kAskOwner, 0, 0)), hwnd);
  EXPECT_EQ(GetWindowLongPtrA(ownerDrawn, GWLP_WNDPROC), ownerDrawnProc);
  EXPECT_EQ(Prop(inGroup, props::kOwner), 0);

  // The panel brings in its own children; a second attach adds nothing.
  engine->AttachPanel(group, {}, GetSysColor(COLOR_BTNFACE), 30);
  engine->AttachPanel(group, {}, GetSysColor(COLOR_BTNFACE), 30);
  ASSERT_EQ(window.Kind(ControlKind::kPanels).size(), 1u);
  auto* panel = static_cast<PanelRecord*>(engine->RecordOf(group, ControlKind::kPanels));
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isGroupBox);
  EXPECT_EQ(panel->caption, "组");
  EXPECT_EQ(panel->alpha, 30);
  EXPECT_TRUE(panel->cornerFlag);
  EXPECT_EQ(Prop(group, props::kContainer), 0);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[1]->hwnd, inGroup);
  EXPECT_EQ(Prop(inGroup, props::kIndex), 2);

  engine->AttachTransparentLabel(label);
  auto* record = static_cast<LabelRecord*>(engine->RecordOf(label, ControlKind::kTransparentLabels));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->keyColour, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Prop(label, props::kLabelIndex), 1);
  EXPECT_EQ(Prop(label, props::kLabelOwner), 1);
  EXPECT_NE(Prop(label, props::kLabelOldProc), 0);
  EXPECT_EQ(Prop(label, props::kOldProc), 0);
}

TEST_F(SkinEngineTest, NothingIsAttachedWithoutAnOwnerOrWithTheSwitchOff) {
  HWND plain = MakeFrame(10, 10, 300, 200);
  HWND group = Child(plain, "Button", BS_GROUPBOX, 10, 80, 200, 100, "g");
  engine->AttachPanel(group, {}, 0, 100);
  engine->AttachTransparentLabel(group);
  EXPECT_EQ(Prop(group, props::kIndex), 0);
  EXPECT_EQ(Prop(group, props::kLabelIndex), 0);

  engine->Settings().skinChildren = false;
  HWND hwnd = MakeFrame(10, 10, 300, 200);
  HWND push = Child(hwnd, "Button", BS_PUSHBUTTON, 10, 40, 60, 24, "a");
  const auto pushProc = GetWindowLongPtrA(push, GWLP_WNDPROC);
  Attach(hwnd);
  EXPECT_EQ(engine->Registry().Count(), 1u);
  EXPECT_EQ(Record(hwnd).Kind(ControlKind::kButtons).size(), 0u);
  EXPECT_EQ(GetWindowLongPtrA(push, GWLP_WNDPROC), pushProc);
  EXPECT_EQ(Prop(push, props::kOwner), 0);
}

TEST_F(SkinEngineTest, DestroyingOneWindowRenumbersTheOther) {
  HWND first = MakeFrame(10, 10, 300, 200);
  Child(first, "Button", BS_PUSHBUTTON, 10, 40, 60, 24, "a");
  HWND second = MakeFrame(40, 40, 300, 200);
  HWND push = Child(second, "Button", BS_PUSHBUTTON, 10, 40, 60, 24, "b");
  HWND label = Child(second, "Static", 0, 100, 40, 60, 20, "l");
  HWND group = Child(second, "Button", BS_GROUPBOX, 10, 80, 200, 100, "g");
  Attach(first);
  Attach(second);
  engine->AttachTransparentLabel(label);
  engine->AttachPanel(group, {}, 0, 30);
  ASSERT_EQ(Prop(second, props::kIndex), 2);
  ASSERT_EQ(Prop(push, props::kOwner), 2);

  DestroyWindow(first);
  ASSERT_EQ(engine->Registry().Count(), 1u);
  EXPECT_EQ(Prop(second, props::kIndex), 1);
  EXPECT_EQ(Prop(push, props::kOwner), 1);
  EXPECT_EQ(Prop(group, props::kOwner), 1);
  EXPECT_EQ(Prop(label, props::kLabelOwner), 1);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(push, kAskOwner, 0, 0)), second);
  EXPECT_NE(engine->RecordOf(label, ControlKind::kTransparentLabels), nullptr);
  // The surviving frame still answers as a skinned frame.
  MINMAXINFO info{};
  SendMessageA(second, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 200);
}

TEST_F(SkinEngineTest, DestroyingAWindowFreesItsEditsBrushAndBitmap) {
  engine->SetChildKinds({{ControlKind::kEdits, "Edit", nullptr, &ProbeProcedure}});
  HWND hwnd = MakeFrame(10, 10, 300, 200);
  HWND edit = Child(hwnd, "Edit", 0, 10, 10, 100, 20);
  Attach(hwnd);
  ASSERT_EQ(Record(hwnd).Kind(ControlKind::kEdits).size(), 1u);
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  HBRUSH brush = CreatePatternBrush(bitmap);
  props::Set(edit, props::kBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
  props::Set(edit, props::kBackgroundBrush, reinterpret_cast<std::intptr_t>(brush));
  ASSERT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));

  DestroyWindow(hwnd);
  EXPECT_EQ(engine->Registry().Count(), 0u);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
  EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(SkinEngineTest, ControlsPaintOverTheWindowBackgroundWithThePanelTint) {
  HWND hwnd = AttachedFrame(320, 240);
  HWND group = Child(hwnd, "Button", BS_GROUPBOX, 20, 60, 200, 120, "g");
  HWND panelWindow = Child(hwnd, "Static", 0, 240, 60, 60, 60);
  engine->AttachPanel(group, {}, 0x0000FF, 200);  // strong red to see it
  engine->AttachPanel(panelWindow, {}, 0x00FF00, 255);
  SkinnedWindow& window = Record(hwnd);

  auto group_ = engine->BackgroundBehind(group);
  ASSERT_TRUE(group_);
  GdiFlush();
  auto at = [](const OffscreenSurface& s, int x, int y) { return s.bits[y * s.width + x] & 0xFFFFFF; };
  const std::uint32_t under = BackgroundPixel(window, 20 + 100, 60 + 60);
  const std::uint32_t tinted = at(*group_, 100, 60);
  EXPECT_GT((tinted >> 16) & 0xFF, ((under >> 16) & 0xFF) + 80);
  // A group box's tint starts 5 pixels down, under its caption line.
  EXPECT_EQ(at(*group_, 100, 1), BackgroundPixel(window, 120, 61));

  auto panel = engine->BackgroundBehind(panelWindow);
  ASSERT_TRUE(panel);
  GdiFlush();
  EXPECT_EQ(at(*panel, 0, 0), 0x00FF00u);
  EXPECT_EQ(at(*panel, 59, 59), 0x00FF00u);

  // A control of no skinned window has no background to take.
  HWND plain = MakeFrame(10, 10, 100, 100);
  HWND stray = Child(plain, "Static", 0, 0, 0, 20, 20);
  EXPECT_FALSE(engine->BackgroundBehind(stray));
}

}  // namespace
}  // namespace skin::testing
