#include "skin/caption_fade.h"

namespace skin {

// A button still fading in fades out from the alpha it has reached, not from full.
FadeSlot CaptionFade::FadeOutFromHere(int button) {
  const int reached = in.button == button ? in.step : kFadeSteps;
  if (in.button == button) in = {};
  return {button, kFadeSteps - reached};
}

std::vector<ButtonLook> CaptionFade::MouseMoved(int button, bool insideStrip, bool& startTimer) {
  std::vector<ButtonLook> looks;
  startTimer = false;
  overStrip = insideStrip;
  if (insideStrip && !timerRunning) {
    startTimer = true;
    timerRunning = true;
  }
  if (hot >= 1 && hot != button) {
    // A fade-out cut short would leave its button half lit.
    if (out.button >= 1 && out.button != hot && out.step < kFadeSteps) looks.push_back({out.button, 0});
    out = FadeOutFromHere(hot);
  }
  if (button >= 1 && button != hot) in = {button, 0};
  hot = button;
  return looks;
}

std::vector<ButtonLook> CaptionFade::Tick(bool& killTimer) {
  std::vector<ButtonLook> looks;
  killTimer = false;
  if (in.button >= 1 && in.step <= kFadeSteps - 1) {
    ++in.step;
    looks.push_back({in.button, in.step * kFadeAlphaStep});
  }
  if (out.button >= 1 && out.step <= kFadeSteps - 1) {
    ++out.step;
    looks.push_back({out.button, kFadeSteps * kFadeAlphaStep - out.step * kFadeAlphaStep});
  }
  const bool outDone = out.button < 1 || out.step > kFadeSteps - 1;
  if (!overStrip && outDone) {
    killTimer = timerRunning;
    timerRunning = false;
    hot = 0;
    in = {};
    out = {};
  }
  return looks;
}

std::vector<ButtonLook> CaptionFade::MouseLeft() {
  std::vector<ButtonLook> looks;
  overStrip = false;
  if (hot < 1) return looks;
  if (!timerRunning) {
    // Nothing would tick the fades on: end them at once.
    if (in.button >= 1) looks.push_back({in.button, 0});
    if (hot != in.button) looks.push_back({hot, 0});
    in = {};
    out = {};
  } else {
    out = FadeOutFromHere(hot);
  }
  hot = 0;
  return looks;
}

}  // namespace skin
