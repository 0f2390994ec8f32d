#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "assets/carried_pictures.h"
#include "skin/skin_kinds.h"
#include "skin/skinned_combo_box.h"
#include "skin/skinned_edit.h"
#include "skin/skinned_slider.h"
#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Sum(std::uint32_t p) { return Red(p) + Green(p) + (p & 0xFF); }

class KindsTest : public SkinTest {
 protected:
  KindsTest() {
    InitCommonControls();
    InstallSkinKinds(*engine);
    frame = MakeFrame(60, 60, 400, 240);
  }
  void Attach() {
    engine->AttachFrame(frame, {}, {}, false, {}, {}, {}, {}, 0, nullptr, assets::Carried(assets::Picture::kBackground), 3);
    SetForegroundWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
  HWND frame = nullptr;
};

constexpr int kComboWidth = 200, kComboHeight = 20;

class ComboBoxTest : public KindsTest {
 protected:
  ComboBoxTest() {
    combo = Child(frame, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 40, 60, kComboWidth, 200);
    for (const char* item : {"1", "WWWWWWWWWW"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    Attach();
  }
  std::vector<std::uint32_t> Screen() const {
    auto pixels = ScreenPixels(combo, kComboWidth, kComboHeight);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
  }
  // Right end of the dark text ink in the text part.
  static int InkRight(const std::vector<std::uint32_t>& pixels) {
    int right = -1;
    for (int y = 4; y < kComboHeight - 4; ++y) {
      for (int x = 3; x < kComboWidth - 22; ++x) {
        if (Sum(pixels[y * kComboWidth + x]) < 200) right = std::max(right, x);
      }
    }
    return right;
  }
  HWND combo = nullptr;
};

TEST_F(ComboBoxTest, WhiteBoxWithBorderDropButtonAndTheSelectionText) {
  auto* record = static_cast<ComboBoxRecord*>(engine->RecordOf(combo, ControlKind::kComboBoxes));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->text, "1");
  const auto pixels = Screen();
  for (std::uint32_t p : pixels) ASSERT_NE(p, kComboKeyColour) << "the key colour reached the screen";
  EXPECT_EQ(pixels[10 * kComboWidth + 120], 0xFFFFFFu);  // white, opaque, over the sky
  const std::uint32_t border = pixels[10 * kComboWidth];
  EXPECT_LT(Sum(border), 3 * 0xE0);
  EXPECT_GT(Sum(border), 3 * 0x80);
  // The drop button is accent-tinted and carries the black arrow in its middle.
  const int buttonMiddle = kComboWidth - 2 - 17 + 8;
  const std::uint32_t face = pixels[5 * kComboWidth + buttonMiddle - 6];
  EXPECT_GT(Green(face) - Red(face), 10);
  int darkest = 765;
  for (int y = 7; y < 13; ++y) {
    for (int x = buttonMiddle - 4; x <= buttonMiddle + 4; ++x) darkest = std::min(darkest, Sum(pixels[y * kComboWidth + x]));
  }
  EXPECT_LT(darkest, 100);
  EXPECT_GE(InkRight(pixels), 3);
  EXPECT_LT(InkRight(pixels), 20);
}

TEST_F(ComboBoxTest, NewSelectionIsRepaintedAndHoverLightsTheBorder) {
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  Pump();
  EXPECT_GT(InkRight(Screen()), 60);
  // The same through the keyboard, as a user changes the channel.
  SendMessageA(combo, WM_KEYDOWN, VK_UP, 0);
  Pump();
  EXPECT_LT(InkRight(Screen()), 20);

  const std::uint32_t plain = Screen()[10 * kComboWidth];
  SendMessageA(combo, WM_MOUSEMOVE, 0, MAKELPARAM(50, 10));
  const std::uint32_t lit = Screen()[10 * kComboWidth];
  EXPECT_GT(Green(lit) - Red(lit), Green(plain) - Red(plain) + 40);
  EXPECT_TRUE(Record(frame).hoverReset);
  SendMessageA(combo, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen()[10 * kComboWidth], plain);
}

constexpr int kSliderWidth = 200, kSliderHeight = 24;

class SliderTest : public KindsTest {
 protected:
  SliderTest() {
    slider = Child(frame, TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTICKS, 40, 100, kSliderWidth, kSliderHeight);
    SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendMessageA(slider, TBM_SETPOS, TRUE, 50);
    Attach();
  }
  std::vector<std::uint32_t> Screen() const { return ScreenPixels(slider, kSliderWidth, kSliderHeight); }
  POINT ThumbCentre() const {
    RECT thumb{};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  }
  std::uint32_t At(const std::vector<std::uint32_t>& pixels, POINT p, int dx) const {
    return pixels[p.y * kSliderWidth + p.x + dx] & 0xFFFFFF;
  }
  HWND slider = nullptr;
};

TEST_F(SliderTest, ThumbIsADotUntilTheMouseIsOverIt) {
  const POINT centre = ThumbCentre();
  const auto rest = Screen();
  // The 4 x 4 dot: white in the middle, the darker channel four pixels beside it.
  EXPECT_GT(Sum(At(rest, centre, 0)), 3 * 0xC0);
  EXPECT_LT(Sum(At(rest, centre, 4)), Sum(At(rest, centre, 0)) - 60);

  SendMessageA(slider, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
  const auto hot = Screen();
  // The 11 x 11 knob covers those pixels; outside it the look is unchanged.
  EXPECT_GT(Sum(At(hot, centre, 4)), Sum(At(rest, centre, 4)) + 60);
  EXPECT_EQ(At(hot, centre, 20), At(rest, centre, 20));

  SendMessageA(slider, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Screen(), rest);

  // A new position repaints the dot where the thumb went.
  SendMessageA(slider, TBM_SETPOS, TRUE, 90);
  Pump();
  const POINT moved = ThumbCentre();
  ASSERT_GT(moved.x, centre.x + 40);
  const auto after = Screen();
  EXPECT_GT(Sum(At(after, moved, 0)), 3 * 0xC0);
  EXPECT_EQ(At(after, centre, 0), At(rest, centre, 8));  // the old place is plain channel again
}

TEST(SliderStyle, DecodedIntoTheRecord) {
  const struct {
    LONG_PTR style;
    bool vertical;
    TickPlacement ticks;
    bool range;
  } cases[] = {
      {TBS_HORZ, false, TickPlacement::kBottomOrRight, false},
      {TBS_VERT | TBS_LEFT, true, TickPlacement::kTopOrLeft, false},
      {TBS_BOTH | TBS_ENABLESELRANGE, false, TickPlacement::kBoth, true},
      {TBS_NOTICKS | TBS_BOTH, false, TickPlacement::kNone, false},  // no ticks wins
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    SliderRecord record;
    DecodeSliderStyle(c.style, record);
    EXPECT_EQ(record.vertical, c.vertical);
    EXPECT_EQ(record.ticks, c.ticks);
    EXPECT_EQ(record.selectionRange, c.range);
  }
}

TEST_F(KindsTest, ProgressBarFillsItsDoneShareInTheAccent) {
  constexpr int kWidth = 200, kHeight = 16;
  HWND bar = Child(frame, PROGRESS_CLASSA, 0, 40, 140, kWidth, kHeight);
  SendMessageA(bar, PBM_SETRANGE32, 0, 100);
  SendMessageA(bar, PBM_SETPOS, 40, 0);
  Attach();
  const auto pixels = ScreenPixels(bar, kWidth, kHeight);
  const auto behind = engine->BackgroundBehind(bar);
  ASSERT_NE(behind, nullptr);
  GdiFlush();
  const int y = kHeight * 3 / 4;
  const std::uint32_t done = pixels[y * kWidth + kWidth / 4] & 0xFFFFFF, rest = pixels[y * kWidth + kWidth * 3 / 4] & 0xFFFFFF;
  EXPECT_GT(Green(done) - Red(done), 120);  // the accent, nearly opaque
  EXPECT_GT(Sum(rest), Sum(behind->bits[y * kWidth + kWidth * 3 / 4] & 0xFFFFFF) + 60);  // the white groove
  // A new position is shown at the next paint.
  SendMessageA(bar, PBM_SETPOS, 90, 0);
  Pump();
  const std::uint32_t later = ScreenPixels(bar, kWidth, kHeight)[y * kWidth + kWidth * 3 / 4] & 0xFFFFFF;
  EXPECT_GT(Green(later) - Red(later), 120);
}

TEST_F(KindsTest, EditsAreSkinnedOnlyWithTheTextFieldSwitch) {
  // A sunken edge: the edit takes WS_BORDER into its own client painting.
  HWND plain = CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 40, 20, 120, 22, frame, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  engine->Settings().textFields = true;
  Attach();
  ASSERT_NE(engine->RecordOf(plain, ControlKind::kEdits), nullptr);
  RECT outer{};
  GetWindowRect(plain, &outer);
  const int width = outer.right - outer.left;
  const auto edge = [&] {
    OffscreenSurface surface(width, 22);
    WholeWindowDc dc(plain);
    BitBlt(surface.dc.Get(), 0, 0, width, 22, dc.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    return surface.bits[11 * width] & 0xFFFFFF;
  };
  const std::uint32_t rest = edge();
  SendMessageA(plain, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  const std::uint32_t hot = edge();
  // The border takes the accent (0xDDCA22: green well over red) under the mouse.
  EXPECT_GT(Green(hot) - Red(hot), Green(rest) - Red(rest) + 40);
  EXPECT_TRUE(Record(frame).hoverReset);

  // The switch off (as the board has it): an edit keeps its own look.
  engine->Settings().textFields = false;
  HWND other = Child(frame, "Edit", WS_BORDER, 40, 180, 120, 22);
  engine->AttachChildren(1, frame);
  EXPECT_EQ(engine->RecordOf(other, ControlKind::kEdits), nullptr);
}

}  // namespace
}  // namespace skin::testing
