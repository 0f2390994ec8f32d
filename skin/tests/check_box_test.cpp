#include <windows.h>

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "assets/carried_pictures.h"
#include "skin/skin_kinds.h"
#include "skin/skinned_button.h"
#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

constexpr int kWidth = 120, kHeight = 24;

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Sum(std::uint32_t p) { return Red(p) + Green(p) + (p & 0xFF); }

class CheckBoxTest : public SkinTest {
 protected:
  CheckBoxTest() {
    InstallSkinKinds(*engine);
    SetCursorPos(0, 0);  // no stray mouse over the controls
    frame = MakeFrame(60, 60, 320, 240);
    check = Make("静音", BS_AUTOCHECKBOX | WS_GROUP, 40);
    radioA = Make("左", BS_AUTORADIOBUTTON | WS_GROUP, 80);
    radioB = Make("右", BS_AUTORADIOBUTTON, 110);
    SendMessageA(radioA, BM_SETCHECK, BST_CHECKED, 0);
    engine->AttachFrame(frame, {}, {}, false, {}, {}, {}, {}, 0, nullptr, assets::Carried(assets::Picture::kBackground), 3);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
  HWND Make(const char* text, DWORD style, int y) { return Child(frame, "Button", style, 20, y, kWidth, kHeight, text); }
  static std::vector<std::uint32_t> Screen(HWND button) {
    auto pixels = ScreenPixels(button, kWidth, kHeight);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }
  // A pixel inside the box or circle, off its middle row and column.
  static std::uint32_t Mark(const std::vector<std::uint32_t>& pixels, int dx = 0, int dy = 0) {
    return pixels[(kHeight / 2 + dy) * kWidth + 2 + 6 + dx];
  }
  static void Click(HWND button) {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
  }
  ButtonRecord* RecordOf(HWND button) const {
    return static_cast<ButtonRecord*>(engine->RecordOf(button, ControlKind::kButtons));
  }

  HWND frame = nullptr, check = nullptr, radioA = nullptr, radioB = nullptr;
};

TEST_F(CheckBoxTest, AttachedWithTheirKindAndCheckState) {
  ASSERT_NE(RecordOf(check), nullptr);
  EXPECT_EQ(RecordOf(check)->kind, ButtonType::kCheckBox);
  EXPECT_EQ(RecordOf(radioA)->kind, ButtonType::kRadio);
  EXPECT_EQ(RecordOf(radioA)->checked, 1);
  EXPECT_EQ(RecordOf(check)->checked, 0);
  EXPECT_EQ(GetWindowLongPtrA(check, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  // Still answered as a check box, though the system now holds no state for it.
  EXPECT_EQ(SendMessageA(radioA, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(CheckBoxTest, ClickTogglesTheBoxAndShowsIt) {
  const auto off = Screen(check);
  Click(check);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  const auto on = Screen(check);
  EXPECT_NE(on, off);
  // The text stays where it was; only the box changed.
  int changedOutsideBox = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 20; x < kWidth; ++x) changedOutsideBox += on[y * kWidth + x] != off[y * kWidth + x];
  }
  EXPECT_EQ(changedOutsideBox, 0);
  Click(check);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(Screen(check), off);
}

TEST_F(CheckBoxTest, RadioClickMovesTheDotWithinTheGroup) {
  const std::uint32_t dotA = Mark(Screen(radioA)), emptyB = Mark(Screen(radioB));
  EXPECT_LT(Sum(dotA), Sum(emptyB) - 200);  // the checked one has its dark dot
  Click(radioB);
  EXPECT_EQ(RecordOf(radioB)->checked, 1);
  EXPECT_EQ(RecordOf(radioA)->checked, 0);
  EXPECT_EQ(Mark(Screen(radioA)), emptyB);
  EXPECT_EQ(Mark(Screen(radioB)), dotA);
  EXPECT_EQ(RecordOf(check)->checked, 0);  // another group
}

TEST_F(CheckBoxTest, HoverPutsTheAccentRoundTheBox) {
  const auto rest = Screen(check);
  SendMessageA(check, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
  const auto hot = Screen(check);
  // The box's left edge takes the accent (0xDDCA22: green well over red).
  const std::uint32_t edge = hot[(kHeight / 2) * kWidth + 2], plain = rest[(kHeight / 2) * kWidth + 2];
  EXPECT_GT(Green(edge) - Red(edge), Green(plain) - Red(plain) + 40);
  SendMessageA(check, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen(check), rest);
}

}  // namespace
}  // namespace skin::testing
