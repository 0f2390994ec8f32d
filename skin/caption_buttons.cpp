// Caption buttons: their records, looks, hover fade, press and commands.
#include "skin/caption_buttons.h"

#include "assets/carried_pictures.h"
#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/skin_engine.h"

namespace skin {
namespace {

CaptionButton Button(int width, assets::Picture glyph, CaptionCommand command, const char* tooltip) {
  CaptionButton button;
  button.width = width;
  button.height = kButtonHeight;
  button.picture = assets::Carried(glyph);
  button.command = command;
  button.tooltip = tooltip;
  return button;
}

draw::LinearGradientBrush Vertical(float top, float bottom, draw::Argb from, draw::Argb to) {
  return draw::LinearGradientBrush({0, top}, {0, bottom}, from, to, draw::kWrapTileFlipXY);
}

void AddShape(draw::GraphicsPath& path, bool close, float x, float y, float w, float h) {
  if (close) {
    AddRoundedRectangle(path, x, y, w, h, 5);
  } else {
    AddTopRounded(path, x, y, w, h, 1);
  }
}

}  // namespace

std::vector<CaptionButton> MakeCaptionButtons(const SkinnedWindow& window) {
  std::vector<CaptionButton> buttons;
  if (window.showHelp) buttons.push_back(Button(kButtonWidth, assets::Picture::kHelp, CaptionCommand::kHelp, "帮助"));
  if (window.showMenu) buttons.push_back(Button(kButtonWidth, assets::Picture::kMenu, CaptionCommand::kMainMenu, "主菜单"));
  if (window.hasMinimize) {
    buttons.push_back(Button(kButtonWidth, assets::Picture::kMinimize, CaptionCommand::kMinimize, "最小化"));
  }
  if (window.hasMaximize) {
    CaptionButton maximize = Button(kButtonWidth, assets::Picture::kMaximize, CaptionCommand::kMaximizeRestore, "最大化");
    maximize.picture2 = assets::Carried(assets::Picture::kRestore);
    buttons.push_back(maximize);
  }
  buttons.push_back(Button(kCloseButtonWidth, assets::Picture::kClose, CaptionCommand::kClose, "关闭"));
  return buttons;
}

std::vector<int> CaptionButtonWidths(const SkinnedWindow& window) {
  std::vector<int> widths;
  for (const CaptionButton& button : window.captionButtons) widths.push_back(button.width);
  return widths;
}

void SkinEngine::DrawCaptionButton(SkinnedWindow& window, int index, int alpha, bool pressed) {
  if (index < 1 || static_cast<std::size_t>(index) > window.captionButtons.size() || !window.backgroundDc ||
      !window.captionDc || static_cast<std::size_t>(index) > window.strip.buttons.size()) {
    return;
  }
  ++window.backgroundVersion;
  const CaptionButton& button = window.captionButtons[index - 1];
  const CaptionButtonPlace& place = window.strip.buttons[index - 1];
  const bool close = button.command == CaptionCommand::kClose;
  const auto x = static_cast<float>(place.lookX), y = static_cast<float>(place.lookY);
  const auto w = static_cast<float>(place.lookWidth), h = static_cast<float>(place.lookHeight);

  // Always from the clean caption band, so the looks never pile up.
  BitBlt(window.backgroundDc.Get(), place.lookX, place.lookY, place.lookWidth, place.lookHeight, window.captionDc.Get(),
         place.lookX, place.lookY, SRCCOPY);
  {
    draw::Graphics graphics(window.backgroundDc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    graphics.SetClip(draw::RectF{x, y, w, h});
    if (pressed) {
      draw::GraphicsPath shape(draw::kFillAlternate);
      if (close) {
        AddRoundedRectangle(shape, x, y, w, h, 5);
      } else {
        shape.AddRectangle({x, y, w, h});
      }
      auto fill = close ? Vertical(y, y + h, ToArgb(0x0000FF, 255), ToArgb(0xFFFFFF, 30))
                        : Vertical(y, y + h, ToArgb(0x000000, 80), ToArgb(0xFFFFFF, 5));
      graphics.FillPath(fill, shape);
    } else {
      if (alpha > 0) {
        draw::GraphicsPath shape(draw::kFillAlternate);
        AddShape(shape, close, x, y, w, h);
        auto shade = Vertical(y, y + h, ToArgb(0x000000, alpha / 5), ToArgb(0xFFFFFF, 0));
        graphics.FillPath(shade, shape);
        auto colour = Vertical(y, y + h, ToArgb(close ? 0x0000FF : settings_.accent, alpha), ToArgb(0xFFFFFF, 0));
        graphics.FillPath(colour, shape);
        draw::GraphicsPath upper(draw::kFillAlternate);
        AddShape(upper, close, x, y, w - 1, h * 0.8f);
        auto edge = Vertical(y, y + h * 0.8f, ToArgb(0xFFFFFF, static_cast<int>(alpha * 0.8)), ToArgb(0xFFFFFF, 0));
        draw::Pen pen(edge, 1);
        graphics.DrawPath(pen, upper);
      }
      auto sheen = Vertical(y, y + h, ToArgb(0xFFFFFF, 50), ToArgb(0x000000, 0));
      graphics.FillRectangle(sheen, {x, y, w, h});
    }
    const bool restoreGlyph = button.command == CaptionCommand::kMaximizeRestore && window.maximizedToWorkArea &&
                              !button.picture2.empty();
    draw::Image glyph;
    if (glyph.LoadFromBytes((restoreGlyph ? button.picture2 : button.picture).span())) {
      graphics.SetInterpolationMode(draw::kInterpolationNearest);
      graphics.DrawImage(glyph, {x, y, w, h});
    }
  }
  WindowDc screen(window.hwnd);
  BitBlt(screen.Get(), place.lookX, place.lookY, place.lookWidth, place.lookHeight, window.backgroundDc.Get(), place.lookX,
         place.lookY, SRCCOPY);
}

void SkinEngine::DrawLooks(SkinnedWindow& window, const std::vector<ButtonLook>& looks) {
  for (const ButtonLook& look : looks) DrawCaptionButton(window, look.button, look.alpha, false);
}

void SkinEngine::OnMouseMove(SkinnedWindow& window, int x, int y) {
  const int button = CaptionButtonAt(window.strip, x, y);
  bool startTimer = false;
  DrawLooks(window, window.fade.MouseMoved(button, InsideStripZone(window.strip, x, y), startTimer));
  if (startTimer) SetTimer(window.hwnd, reinterpret_cast<UINT_PTR>(window.hwnd), 20, nullptr);
  // Off the pressed button, a release runs nothing.
  if (pressedCaptionButton_ != button) pressedCaptionButton_ = 0;
}

void SkinEngine::OnTimer(SkinnedWindow& window) {
  bool killTimer = false;
  DrawLooks(window, window.fade.Tick(killTimer));
  if (killTimer) KillTimer(window.hwnd, reinterpret_cast<UINT_PTR>(window.hwnd));
}

void SkinEngine::OnMouseLeave(SkinnedWindow& window) {
  DrawLooks(window, window.fade.MouseLeft());
  pressedCaptionButton_ = 0;
}

void SkinEngine::OnRelease(SkinnedWindow& window, int x, int y) {
  const int pressed = pressedCaptionButton_;
  pressedCaptionButton_ = 0;
  if (pressed < 1 || static_cast<std::size_t>(pressed) > window.captionButtons.size()) return;
  // The pressed look goes back to what the fade says the button is.
  const bool lit = window.fade.hot == pressed;
  DrawCaptionButton(window, pressed, lit ? kFadeSteps * kFadeAlphaStep : 0, false);
  if (window.captionButtonsActive && CaptionButtonAt(window.strip, x, y) == pressed) RunCaptionCommand(window.hwnd, pressed);
}

void SkinEngine::RunCaptionCommand(HWND hwnd, int index) {
  SkinnedWindow* window = WindowOf(hwnd);
  if (!window || index < 1 || static_cast<std::size_t>(index) > window->captionButtons.size()) return;
  switch (window->captionButtons[index - 1].command) {
    case CaptionCommand::kClose:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case CaptionCommand::kMaximizeRestore:
      if (window->maximizedToWorkArea) {
        window->maximizedToWorkArea = false;
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
      } else {
        window->maximizedToWorkArea = true;
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      }
      break;
    case CaptionCommand::kMinimize:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case CaptionCommand::kMainMenu:
      if (menuHandler_) menuHandler_(hwnd);
      break;
    case CaptionCommand::kHelp:
      if (helpHandler_) helpHandler_(hwnd);
      break;
  }
}

}  // namespace skin
