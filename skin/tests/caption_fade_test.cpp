#include "skin/caption_fade.h"

#include <gtest/gtest.h>

#include <vector>

namespace skin {
namespace {

using Looks = std::vector<ButtonLook>;

// Ticks n times and collects every look asked for; kill tells whether the last tick killed.
Looks TickTimes(CaptionFade& fade, int n, bool* kill = nullptr) {
  Looks all;
  for (int i = 0; i < n; ++i) {
    bool killTimer = false;
    for (const ButtonLook& look : fade.Tick(killTimer)) all.push_back(look);
    if (kill) *kill = killTimer;
  }
  return all;
}

TEST(CaptionFade, FadesInInEightStepsAndOutAgain) {
  CaptionFade fade;
  bool start = false;
  EXPECT_TRUE(fade.MouseMoved(2, true, start).empty());
  EXPECT_TRUE(start);
  EXPECT_EQ(TickTimes(fade, 9), (Looks{{2, 30}, {2, 60}, {2, 90}, {2, 120}, {2, 150}, {2, 180}, {2, 210}, {2, 240}}));

  // Off the strip: the fade-out runs, then the timer goes.
  fade.MouseMoved(0, false, start);
  EXPECT_FALSE(start);
  bool kill = false;
  EXPECT_EQ(TickTimes(fade, 7, &kill), (Looks{{2, 210}, {2, 180}, {2, 150}, {2, 120}, {2, 90}, {2, 60}, {2, 30}}));
  EXPECT_FALSE(kill);
  EXPECT_EQ(TickTimes(fade, 1, &kill), (Looks{{2, 0}}));
  EXPECT_TRUE(kill);
  EXPECT_FALSE(fade.timerRunning);
  EXPECT_EQ(fade.hot, 0);
}

TEST(CaptionFade, NextButtonFadesInWhileThePreviousFadesOut) {
  CaptionFade fade;
  bool start = false;
  fade.MouseMoved(1, true, start);
  TickTimes(fade, 8);
  EXPECT_TRUE(fade.MouseMoved(2, true, start).empty());
  EXPECT_FALSE(start);  // already running
  EXPECT_EQ(TickTimes(fade, 2), (Looks{{2, 30}, {1, 210}, {2, 60}, {1, 180}}));
  bool kill = true;
  TickTimes(fade, 6, &kill);
  EXPECT_FALSE(kill);  // still over the strip: the timer stays
}

// Left while half faded in, a button fades out from where it stands: no jump to full.
TEST(CaptionFade, LeavingAButtonHalfLitFadesItOutFromItsAlpha) {
  CaptionFade fade;
  bool start = false;
  fade.MouseMoved(1, true, start);
  EXPECT_EQ(TickTimes(fade, 3), (Looks{{1, 30}, {1, 60}, {1, 90}}));
  EXPECT_TRUE(fade.MouseMoved(0, true, start).empty());
  EXPECT_EQ(fade.in.button, 0);
  EXPECT_EQ(TickTimes(fade, 4), (Looks{{1, 60}, {1, 30}, {1, 0}}));

  // The same when the mouse leaves the window.
  fade.MouseMoved(2, true, start);
  TickTimes(fade, 2);
  EXPECT_TRUE(fade.MouseLeft().empty());
  bool kill = false;
  EXPECT_EQ(TickTimes(fade, 2, &kill), (Looks{{2, 30}, {2, 0}}));
  EXPECT_TRUE(kill);
}

TEST(CaptionFade, MouseLeavingTheWindowFadesTheHotButtonOut) {
  CaptionFade fade;
  bool start = false;
  fade.MouseMoved(2, true, start);
  TickTimes(fade, 8);
  EXPECT_TRUE(fade.MouseLeft().empty());
  EXPECT_EQ(fade.hot, 0);
  bool kill = false;
  const Looks looks = TickTimes(fade, 8, &kill);
  ASSERT_EQ(looks.size(), 8u);
  EXPECT_EQ(looks.back(), (ButtonLook{2, 0}));
  EXPECT_TRUE(kill);

  // Without a timer nothing would finish a fade: the buttons go plain at once.
  CaptionFade idle;
  idle.hot = 1;
  idle.in = {1, 4};
  EXPECT_EQ(idle.MouseLeft(), (Looks{{1, 0}}));
  EXPECT_EQ(idle.in.button, 0);
  EXPECT_EQ(idle.out.button, 0);
}

}  // namespace
}  // namespace skin
