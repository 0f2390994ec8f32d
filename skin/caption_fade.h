#pragma once
// The hover fade of the caption buttons as a small state machine: the frame feeds it mouse and
// timer events and draws what it asks for. Buttons are 1-based; 0 is none.
#include <vector>

namespace skin {

inline constexpr int kFadeSteps = 8;
inline constexpr int kFadeAlphaStep = 30;  // 8 x 30 = 240, the full highlight

struct FadeSlot {
  int button = 0;
  int step = 0;
};

struct ButtonLook {
  int button;
  int alpha;  // 0 = plain
  bool operator==(const ButtonLook&) const = default;
};

struct CaptionFade {
  int hot = 0;
  FadeSlot in;
  FadeSlot out;
  bool timerRunning = false;
  bool overStrip = false;

  // Mouse over the client area: the button under it and whether it is over the strip.
  // Returns the looks to draw now; startTimer is set when the timer must be started.
  std::vector<ButtonLook> MouseMoved(int button, bool insideStrip, bool& startTimer);
  // One 20 ms tick; killTimer is set when nothing needs the timer any more.
  std::vector<ButtonLook> Tick(bool& killTimer);
  std::vector<ButtonLook> MouseLeft();

 private:
  FadeSlot FadeOutFromHere(int button);
};

}  // namespace skin
