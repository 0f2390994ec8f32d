#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

constexpr int kWidth = 160, kHeight = 24;

int Sum(std::uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); }

struct Ink {
  int left = kWidth, right = -1;
  int sky = 0;  // pixels identical to the background behind
};

// Where the text lies (pixels much darker than the sky behind) and how much sky shows.
Ink Measure(const std::vector<std::uint32_t>& screen, const OffscreenSurface& behind) {
  Ink ink;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t p = screen[y * kWidth + x] & 0xFFFFFF, b = behind.bits[y * behind.width + x] & 0xFFFFFF;
      if (p == b) ++ink.sky;
      if (Sum(p) < Sum(b) - 150) ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

// A label with a child window: the child becomes a panel keyed by the label's colour.
TEST_F(SkinTest, TransparentLabelWithAChildMakesTheChildAPanel) {
  HWND frame = AttachedFrame(320, 200);
  HWND label = Child(frame, "Static", SS_LEFT, 20, 60, kWidth, kHeight, "输出通道");
  HWND inner = Child(label, "Static", SS_LEFT, 2, 2, 40, 16, "x");
  engine->AttachTransparentLabel(label, RGB(1, 2, 3));
  EXPECT_NE(engine->RecordOf(label, ControlKind::kTransparentLabels), nullptr);
  const auto* panel = static_cast<const PanelRecord*>(engine->RecordOf(inner, ControlKind::kPanels));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->tint, RGB(1, 2, 3));
}

TEST_F(SkinTest, TransparentLabelShowsTheSkyBehindItsText) {
  HWND frame = AttachedFrame(320, 200);
  HWND label = Child(frame, "Static", SS_LEFT, 20, 60, kWidth, kHeight, "输出通道");
  const auto face = GetSysColor(COLOR_BTNFACE);
  engine->AttachTransparentLabel(label);
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  const auto behind = engine->BackgroundBehind(label);
  ASSERT_NE(behind, nullptr);
  GdiFlush();

  auto screen = ScreenPixels(label, kWidth, kHeight);
  const Ink before = Measure(screen, *behind);
  ASSERT_GE(before.right, before.left) << "no text on screen";
  // Most of the label is the sky itself; none of it is the button face the label filled with.
  EXPECT_GT(before.sky, kWidth * kHeight * 2 / 3);
  for (std::uint32_t p : screen) ASSERT_NE(p & 0xFFFFFF, ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF));

  // A longer text is repainted with the sky still behind it.
  SetWindowTextA(label, "输出通道选择：：");
  Pump();
  screen = ScreenPixels(label, kWidth, kHeight);
  const Ink after = Measure(screen, *behind);
  EXPECT_GT(after.right, before.right + 10);
  EXPECT_GT(after.sky, kWidth * kHeight / 2);
}

}  // namespace
}  // namespace skin::testing
