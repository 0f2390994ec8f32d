#pragma once
// Where a press on the frame lands: the caption-button strip, a sizing edge or the caption.
// Pure geometry, so it is tested without windows.
#include <cstdint>
#include <vector>

namespace skin {

enum class SizeZone { kNone, kLeft, kRight, kTop, kTopLeft, kTopRight, kBottom, kBottomLeft, kBottomRight };

inline constexpr int kEdgeBand = 3;      // the caption inset
inline constexpr int kCornerSquare = 10;
inline constexpr int kStripHeight = 22;

// Edges first, then corners, as the cursor and the size command follow.
SizeZone HitSizeZone(int x, int y, int width, int height);
// The SC_SIZE offset (WMSZ_*) of a zone; 0 for none.
int SizeCommandOffset(SizeZone zone);

struct PressAction {
  enum Kind { kNothing, kMove, kSize } kind = kNothing;
  SizeZone zone = SizeZone::kNone;
};

// One caption button's place: the hit rectangle, and the look drawn one pixel to its left.
struct CaptionButtonPlace {
  int hitX, hitY, hitWidth, hitHeight;
  int lookX, lookY, lookWidth, lookHeight;
};

struct CaptionStrip {
  int x = 0, y = 0, width = 0, height = kStripHeight;
  std::vector<CaptionButtonPlace> buttons;
};

inline constexpr int kCloseButtonWidth = 38;
inline constexpr int kButtonWidth = 26;
inline constexpr int kButtonHeight = 18;

int StripWidth(const std::vector<int>& buttonWidths);
// widths in the buttons' order; the last one is the close button.
CaptionStrip LayoutCaptionStrip(int clientWidth, const std::vector<int>& buttonWidths);
// A left press at (x, y) of the client area. dblClickMaximizes 0 moves from anywhere in the
// caption without testing the edges.
PressAction ActionForPress(int x, int y, int width, int height, int captionHeight, bool dblClickMaximizes,
                           const CaptionStrip& strip);

// 1-based index of the button whose hit rectangle holds the point, 0 for none.
int CaptionButtonAt(const CaptionStrip& strip, int x, int y);
// The mouse counts as over the strip a little left of it, for the fade timer.
bool InsideStripZone(const CaptionStrip& strip, int x, int y);

}  // namespace skin
