#pragma once
// Where the tabs of a tab strip sit: equal widths, 3-pixel gaps, inset by the margin.
#include <vector>

namespace skin {

struct TabRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class TabLayout {
 public:
  static constexpr int kGap = 3;

  TabLayout() = default;
  TabLayout(int tabWidth, int barHeight, int margin = 2) : tabWidth_(tabWidth), barHeight_(barHeight), margin_(margin) {}

  // Lays out one more tab and returns its rectangle.
  TabRect Add();
  int Count() const { return static_cast<int>(rects_.size()); }
  const TabRect& At(int index) const { return rects_[static_cast<std::size_t>(index - 1)]; }  // 1-based
  // The outline's width: both margins and the tabs with their gaps.
  int BarWidth() const;
  int BarHeight() const { return barHeight_; }
  int TabWidth() const { return tabWidth_; }
  int Margin() const { return margin_; }
  // x of the separator before tab index (2 and up): two pixels left of the tab.
  int SeparatorX(int index) const { return (index - 1) * (tabWidth_ + kGap); }
  // 1-based index of the tab under the point, 0 for none.
  int HitTest(int x, int y) const;

 private:
  int tabWidth_ = 60;
  int barHeight_ = 0;
  int margin_ = 2;
  std::vector<TabRect> rects_;
};

}  // namespace skin
