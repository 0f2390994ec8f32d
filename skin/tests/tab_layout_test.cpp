#include "skin/tab_layout.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(TabLayout, SixTabsOfSeventyWithThreePixelGaps) {
  TabLayout layout(70, 26);
  EXPECT_EQ(layout.BarWidth(), 4);
  for (int i = 1; i <= 6; ++i) {
    const TabRect rect = layout.Add();
    EXPECT_EQ(rect.left, 2 + (i - 1) * 73);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.bottom, 23);
  }
  EXPECT_EQ(layout.BarWidth(), 439);
  EXPECT_EQ(layout.SeparatorX(2), 73);
  EXPECT_EQ(layout.At(2).left - layout.SeparatorX(2), 2);
}

TEST(TabLayout, HitTestFindsTabsButNotGapsOrMargins) {
  TabLayout layout(70, 26);
  for (int i = 0; i < 3; ++i) layout.Add();
  const struct {
    int x, y, tab;
  } cases[] = {{2, 2, 1}, {71, 10, 1}, {72, 10, 0}, {74, 10, 0}, {75, 10, 2}, {150, 22, 3},
               {150, 23, 0}, {1, 10, 0}, {10, 1, 0}, {219, 10, 0}, {500, 10, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(layout.HitTest(c.x, c.y), c.tab);
  }
}

}  // namespace
}  // namespace skin
