#include "skin/frame_geometry.h"

#include <numeric>

namespace skin {

SizeZone HitSizeZone(int x, int y, int width, int height) {
  const bool alongY = y >= 11 && y < height - kCornerSquare;
  const bool alongX = x >= 11 && x < width - kCornerSquare;
  if (x <= kEdgeBand && alongY) return SizeZone::kLeft;
  if (x >= width - kEdgeBand && alongY) return SizeZone::kRight;
  if (alongX && y <= kEdgeBand) return SizeZone::kTop;
  if (alongX && y >= height - kEdgeBand) return SizeZone::kBottom;
  if (x <= kCornerSquare && y <= kCornerSquare) return SizeZone::kTopLeft;
  if (x >= width - kCornerSquare && y <= kCornerSquare) return SizeZone::kTopRight;
  if (x <= kCornerSquare && y >= height - kCornerSquare) return SizeZone::kBottomLeft;
  if (x >= width - kCornerSquare && y >= height - kCornerSquare) return SizeZone::kBottomRight;
  return SizeZone::kNone;
}

int SizeCommandOffset(SizeZone zone) { return static_cast<int>(zone); }

PressAction ActionForPress(int x, int y, int width, int height, int captionHeight, bool dblClickMaximizes,
                           const CaptionStrip& strip) {
  // The whole strip belongs to the caption buttons, down to its top row: a press on a button
  // never starts a move.
  if (x >= strip.x && x < strip.x + strip.width && y >= 0 && y <= strip.height) return {};
  if (!dblClickMaximizes && y <= captionHeight) return {PressAction::kMove, SizeZone::kNone};
  const SizeZone zone = HitSizeZone(x, y, width, height);
  if (zone != SizeZone::kNone) return {PressAction::kSize, zone};
  if (y <= captionHeight) return {PressAction::kMove, SizeZone::kNone};
  return {};
}

int StripWidth(const std::vector<int>& widths) {
  if (widths.empty()) return 0;
  return std::accumulate(widths.begin(), widths.end(), 0) + static_cast<int>(widths.size()) - 1 + 3;
}

CaptionStrip LayoutCaptionStrip(int clientWidth, const std::vector<int>& widths) {
  CaptionStrip strip;
  strip.width = StripWidth(widths);
  strip.x = clientWidth - strip.width + 1;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const bool close = i + 1 == widths.size();
    CaptionButtonPlace place{};
    place.hitX = strip.x + 2 + static_cast<int>(i) * 27;
    place.hitY = 1;
    place.hitWidth = close ? 40 : 26;
    place.hitHeight = kButtonHeight;
    place.lookX = place.hitX - 1;
    place.lookY = place.hitY;
    place.lookWidth = widths[i] - 1;
    place.lookHeight = kButtonHeight;
    strip.buttons.push_back(place);
  }
  return strip;
}

int CaptionButtonAt(const CaptionStrip& strip, int x, int y) {
  for (std::size_t i = 0; i < strip.buttons.size(); ++i) {
    const CaptionButtonPlace& b = strip.buttons[i];
    if (x >= b.hitX && x < b.hitX + b.hitWidth && y >= b.hitY && y < b.hitY + b.hitHeight) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool InsideStripZone(const CaptionStrip& strip, int x, int y) {
  return x >= strip.x - 2 && x <= strip.x + strip.width && y >= strip.y && y <= strip.y + strip.height;
}

}  // namespace skin
