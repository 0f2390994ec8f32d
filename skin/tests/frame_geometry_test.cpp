#include "skin/frame_geometry.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(FrameGeometry, MinimizeAndCloseStrip) {
  const CaptionStrip strip = LayoutCaptionStrip(472, {26, 38});
  EXPECT_EQ(strip.width, 68);
  EXPECT_EQ(strip.x, 472 - 68 + 1);
  EXPECT_EQ(strip.height, 22);
  ASSERT_EQ(strip.buttons.size(), 2u);
  const CaptionButtonPlace& minimize = strip.buttons[0];
  const CaptionButtonPlace& close = strip.buttons[1];
  EXPECT_EQ(minimize.hitX, strip.x + 2);
  EXPECT_EQ(minimize.hitWidth, 26);
  EXPECT_EQ(close.hitX, strip.x + 2 + 27);
  EXPECT_EQ(close.hitWidth, 40);
  EXPECT_EQ(close.lookX, close.hitX - 1);
  EXPECT_EQ(close.lookWidth, 37);
  // The close look ends 2 pixels inside the edge, its hit area 2 beyond it.
  EXPECT_EQ(close.lookX + close.lookWidth, 472 - 2);
  EXPECT_EQ(close.hitX + close.hitWidth, 472 + 2);
  EXPECT_EQ(StripWidth({26, 26, 26, 26, 38}), 26 * 4 + 38 + 4 + 3);
}

TEST(FrameGeometry, ButtonUnderThePoint) {
  const CaptionStrip strip = LayoutCaptionStrip(300, {26, 38});
  const struct {
    int x, y, expected;
  } cases[] = {
      {strip.x + 2, 1, 1},  {strip.x + 27, 18, 1}, {strip.x + 28, 5, 0},  // the gap between them
      {strip.x + 29, 5, 2}, {299, 10, 2},          {strip.x + 10, 0, 0},  // above the hit rows
      {strip.x + 10, 19, 0}, {strip.x, 5, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(CaptionButtonAt(strip, c.x, c.y), c.expected) << c.x << "," << c.y;
  EXPECT_TRUE(InsideStripZone(strip, strip.x - 2, 22));
  EXPECT_FALSE(InsideStripZone(strip, strip.x - 3, 5));
  EXPECT_FALSE(InsideStripZone(strip, strip.x + 5, 23));
}

TEST(FrameGeometry, SizeZonesAndTheirCommands) {
  const int w = 300, h = 200;
  const struct {
    int x, y;
    SizeZone zone;
    int command;
  } cases[] = {
      {0, 100, SizeZone::kLeft, 1},         {3, 11, SizeZone::kLeft, 1},          {4, 100, SizeZone::kNone, 0},
      {297, 100, SizeZone::kRight, 2},      {150, 3, SizeZone::kTop, 3},          {150, 197, SizeZone::kBottom, 6},
      {2, 2, SizeZone::kTopLeft, 4},        {10, 10, SizeZone::kTopLeft, 4},      {295, 5, SizeZone::kTopRight, 5},
      {5, 195, SizeZone::kBottomLeft, 7},   {299, 199, SizeZone::kBottomRight, 8}, {150, 100, SizeZone::kNone, 0},
      {0, 190, SizeZone::kBottomLeft, 7},  // y = height - 10 is past the left edge's range
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitSizeZone(c.x, c.y, w, h), c.zone) << c.x << "," << c.y;
    EXPECT_EQ(SizeCommandOffset(HitSizeZone(c.x, c.y, w, h)), c.command) << c.x << "," << c.y;
  }
}

TEST(FrameGeometry, WhatAPressDoes) {
  const int w = 300, h = 200;
  const CaptionStrip strip = LayoutCaptionStrip(w, {26, 38});
  using K = PressAction::Kind;
  const struct {
    int x, y;
    bool dblClick;
    K kind;
    SizeZone zone;
  } cases[] = {
      // Without double-click maximizing the caption moves at once, even at its edges.
      {100, 10, false, K::kMove, SizeZone::kNone},
      {1, 1, false, K::kMove, SizeZone::kNone},
      {100, 25, false, K::kMove, SizeZone::kNone},
      {100, 26, false, K::kNothing, SizeZone::kNone},
      {0, 100, false, K::kSize, SizeZone::kLeft},
      {299, 199, false, K::kSize, SizeZone::kBottomRight},
      // The strip belongs to the caption buttons, its top row included.
      {strip.x + 10, 1, false, K::kNothing, SizeZone::kNone},
      {strip.x + 40, 10, true, K::kNothing, SizeZone::kNone},
      {strip.x + 40, 22, false, K::kNothing, SizeZone::kNone},
      // With it, the edges come first.
      {1, 1, true, K::kSize, SizeZone::kTopLeft},
      {100, 2, true, K::kSize, SizeZone::kTop},
      {100, 10, true, K::kMove, SizeZone::kNone},
  };
  for (const auto& c : cases) {
    const PressAction action = ActionForPress(c.x, c.y, w, h, 25, c.dblClick, strip);
    EXPECT_EQ(action.kind, c.kind) << c.x << "," << c.y << " dbl " << c.dblClick;
    EXPECT_EQ(action.zone, c.zone) << c.x << "," << c.y << " dbl " << c.dblClick;
  }
}

}  // namespace
}  // namespace skin
