#include "skin/colour.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(Colour, ColorrefAndAlphaBecomeArgb) {
  EXPECT_EQ(ToArgb(kAccentColour, 240), 0xF022CADDu);  // red 0x22, green 0xCA, blue 0xDD
  EXPECT_EQ(ToArgb(0x0000FF), 0xFFFF0000u);            // alpha not given: opaque
  EXPECT_EQ(ToArgb(0x808080, 150), 0x96808080u);
  EXPECT_EQ(ToArgb(0xFFFFFF, 0), 0x00FFFFFFu);
  EXPECT_EQ(ToArgb(0x00FF00, 300), 0xFF00FF00u);  // clamped, never spilling into red
}

}  // namespace
}  // namespace skin
