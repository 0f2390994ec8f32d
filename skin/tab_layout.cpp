#include "skin/tab_layout.h"

namespace skin {

TabRect TabLayout::Add() {
  const int i = Count();  // the new tab's index less one
  TabRect rect;
  rect.left = margin_ + i * tabWidth_ + i * kGap;
  rect.top = margin_;
  rect.right = rect.left + tabWidth_;
  rect.bottom = barHeight_ - 3;
  rects_.push_back(rect);
  return rect;
}

int TabLayout::BarWidth() const {
  const int count = Count();
  if (count == 0) return 2 * margin_;
  return 2 * margin_ + count * tabWidth_ + (count - 1) * kGap;
}

int TabLayout::HitTest(int x, int y) const {
  for (int i = 1; i <= Count(); ++i) {
    if (At(i).Contains(x, y)) return i;
  }
  return 0;
}

}  // namespace skin
