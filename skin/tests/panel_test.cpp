#include <windows.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

constexpr int kWidth = 240, kHeight = 80;

// The group box caption sits by the box's alignment bits; the outline is the engine's.
TEST_F(SkinTest, GroupBoxCaptionFollowsItsAlignment) {
  HWND frame = AttachedFrame(320, 240);
  const struct {
    DWORD alignment;
    int from, to;  // where the caption's ink must lie
  } cases[] = {{BS_CENTER, kWidth / 3, kWidth * 2 / 3}, {BS_LEFT, 0, kWidth / 3}, {0, kWidth * 2 / 3, kWidth}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    HWND group = Child(frame, "Button", BS_GROUPBOX | c.alignment, 20, 40, kWidth, kHeight, "HHHH");
    engine->AttachPanel(group, {}, GetSysColor(COLOR_BTNFACE), 30);
    RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    const auto screen = ScreenPixels(group, kWidth, kHeight);
    const auto behind = engine->BackgroundBehind(group);
    ASSERT_NE(behind, nullptr);
    GdiFlush();
    int left = kWidth, right = -1;
    for (int y = 1; y < 16; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t p = screen[y * kWidth + x] & 0xFFFFFF;
        const std::uint32_t b = behind->bits[y * behind->width + x] & 0xFFFFFF;
        const int dark = ((b >> 16) & 0xFF) - ((p >> 16) & 0xFF) + ((b >> 8) & 0xFF) - ((p >> 8) & 0xFF);
        if (dark > 150) left = std::min(left, x), right = std::max(right, x);
      }
    }
    ASSERT_GE(right, left) << "no caption drawn";
    EXPECT_GE(left, c.from);
    EXPECT_LE(right, c.to);
    // Below the caption band, the inner area is the tinted background.
    EXPECT_EQ(screen[50 * kWidth + kWidth / 2] & 0xFFFFFF, behind->bits[50 * behind->width + kWidth / 2] & 0xFFFFFF);
    DestroyWindow(group);
  }
}

}  // namespace
}  // namespace skin::testing
