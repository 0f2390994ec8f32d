#include <windows.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "skin/tab_strip.h"
#include "skin/tests/skin_test_support.h"

namespace skin::testing {
namespace {

constexpr int kLabelWidth = 460, kLabelHeight = 26;

int Sum(std::uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); }

class TabStripTest : public SkinTest {
 protected:
  TabStripTest() {
    frame = AttachedFrame(500, 200);
    label = Child(frame, "Static", 0, 10, 40, kLabelWidth, kLabelHeight);
    strip.AttachTabStrip(label, 70, 2, 2, true, GetSysColor(COLOR_BTNFACE), 0);
    for (const char* text : {"主持人专用", "MC喊麦专用", "搞笑类音效", "人物类音效", "生活类音效", "自定义音效"}) {
      strip.AddTab(text);
    }
    strip.SetTabHandler([this](int index) { chosen.push_back(index); });
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  }
  ~TabStripTest() override {
    if (IsWindow(label)) DestroyWindow(label);
  }

  std::vector<std::uint32_t> Screen() const { return ScreenPixels(label, kLabelWidth, kLabelHeight); }
  // A point on the outline of the selected or hot look of the tab: one pixel inside its left edge.
  static std::uint32_t OutlinePixel(const std::vector<std::uint32_t>& pixels, const TabItem& tab) {
    return pixels[(tab.rect.top + 10) * kLabelWidth + tab.rect.left + 1] & 0xFFFFFF;
  }
  void Click(int tab) {
    const TabRect& r = strip.Items()[tab - 1].rect;
    const LPARAM at = MAKELPARAM(r.left + 30, r.top + 5);
    SendMessageA(label, WM_MOUSEMOVE, 0, at);
    SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(label, WM_LBUTTONUP, 0, at);
  }

  HWND frame = nullptr;
  HWND label = nullptr;
  TabStrip strip;
  std::vector<int> chosen;
};

TEST_F(TabStripTest, SixTabsFirstSelectedWithoutTheHandler) {
  ASSERT_EQ(strip.Items().size(), 6u);
  EXPECT_EQ(strip.BarWidth(), 439);
  EXPECT_EQ(strip.Items()[2].rect.left, 2 + 2 * 73);
  EXPECT_EQ(strip.Items()[2].rect.bottom, kLabelHeight - 3);
  EXPECT_EQ(strip.SelectedItem(), 1);
  EXPECT_TRUE(strip.Items()[0].selected);
  EXPECT_TRUE(chosen.empty());

  // On screen: the selected tab has its outline, the others none; past the bar the sky is untouched.
  const auto pixels = Screen();
  const SkinnedWindow& window = Record(frame);
  EXPECT_LT(Sum(OutlinePixel(pixels, strip.Items()[0])), Sum(OutlinePixel(pixels, strip.Items()[1])) - 20);
  EXPECT_EQ(pixels[10 * kLabelWidth + 450] & 0xFFFFFF, BackgroundPixel(window, 10 + 450, 40 + 10));
  // Text is drawn inside each tab: dark ink against the light strip.
  const TabRect& second = strip.Items()[1].rect;
  int darkest = 765;
  for (int y = second.top + 2; y < second.bottom - 2; ++y) {
    for (int x = second.left + 5; x < second.right - 5; ++x) darkest = std::min(darkest, Sum(pixels[y * kLabelWidth + x] & 0xFFFFFF));
  }
  EXPECT_LT(darkest, 250);
}

TEST_F(TabStripTest, ClickOnAnotherTabSelectsItAndCallsTheHandlerOnce) {
  const auto before = Screen();
  Click(3);
  ASSERT_EQ(chosen, std::vector<int>{3});
  EXPECT_EQ(strip.SelectedItem(), 3);
  EXPECT_FALSE(strip.Items()[0].selected);
  EXPECT_FALSE(strip.Items()[2].pressed);
  const auto after = Screen();
  // Tab 3 gained the outline, tab 1 lost it (though the mouse still makes tab 3 hot).
  EXPECT_LT(Sum(OutlinePixel(after, strip.Items()[2])), Sum(OutlinePixel(before, strip.Items()[2])) - 20);
  EXPECT_EQ(OutlinePixel(after, strip.Items()[0]), OutlinePixel(before, strip.Items()[1]));

  Click(3);
  EXPECT_EQ(chosen, std::vector<int>{3});  // the selected tab again: nothing
}

TEST_F(TabStripTest, HoverMovesFromTabToTabAndLeaves) {
  const auto before = Screen();
  const auto move = [&](int x) { SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(x, 10)); };
  move(strip.Items()[1].rect.left + 5);
  EXPECT_EQ(strip.HotItem(), 2);
  const int drawn = strip.TabsDrawn();
  move(strip.Items()[1].rect.left + 30);  // within the same tab: nothing to draw
  EXPECT_EQ(strip.TabsDrawn(), drawn);
  move(strip.Items()[2].rect.left + 5);
  EXPECT_EQ(strip.HotItem(), 3);
  EXPECT_EQ(strip.TabsDrawn(), drawn + 2);  // the tab left and the tab entered, no other
  EXPECT_FALSE(strip.Items()[1].hot);
  auto pixels = Screen();
  EXPECT_EQ(OutlinePixel(pixels, strip.Items()[1]), OutlinePixel(before, strip.Items()[1]));
  EXPECT_LT(Sum(OutlinePixel(pixels, strip.Items()[2])), Sum(OutlinePixel(before, strip.Items()[2])) - 20);
  // Into a gap: no tab is hot any more, and no click reaches the handler.
  move(strip.Items()[2].rect.right + 1);
  EXPECT_EQ(strip.HotItem(), 0);
  SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(strip.Items()[2].rect.right + 1, 10));
  EXPECT_TRUE(chosen.empty());
  pixels = Screen();
  EXPECT_EQ(OutlinePixel(pixels, strip.Items()[2]), OutlinePixel(before, strip.Items()[2]));
}

}  // namespace
}  // namespace skin::testing
