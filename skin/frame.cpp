// The skinned frame: the composed background, the caption, moving and sizing, and the frame's
// message table.
#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <vector>

#include "draw/graphics.h"
#include "skin/caption_buttons.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/skin_engine.h"
#include "skin/window_properties.h"
#include "runtime/time_marks_win.h"

namespace skin {
namespace {

RECT ClientRect(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  return rect;
}

int TaskBarHeight() {
  RECT bar{};
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(tray, &bar);
  return bar.bottom - bar.top;
}

LPCSTR CursorFor(SizeZone zone) {
  switch (zone) {
    case SizeZone::kLeft:
    case SizeZone::kRight: return IDC_SIZEWE;
    case SizeZone::kTop:
    case SizeZone::kBottom: return IDC_SIZENS;
    case SizeZone::kTopLeft:
    case SizeZone::kBottomRight: return IDC_SIZENWSE;
    case SizeZone::kTopRight:
    case SizeZone::kBottomLeft: return IDC_SIZENESW;
    case SizeZone::kNone: break;
  }
  return nullptr;
}

}  // namespace

// A font family by name; when the name is only a substitute the system maps to a real face
// (as the Chinese face names are on some systems), the face it maps to.
draw::FontFamily FamilyFor(const std::string& face) {
  // Every button paint asks again: the face a substitute maps to is looked up once.
  static std::map<std::string, std::string> mapped;
  if (const auto known = mapped.find(face); known != mapped.end()) return draw::FontFamily{std::string_view(known->second)};
  draw::FontFamily family{std::string_view(face)};
  if (family) {
    mapped.emplace(face, face);
    return family;
  }
  LOGFONTW logfont{};
  logfont.lfCharSet = DEFAULT_CHARSET;
  const int length = MultiByteToWideChar(CP_ACP, 0, face.c_str(), -1, logfont.lfFaceName, LF_FACESIZE);
  if (length <= 0) return family;
  GdiObject<HFONT> font(CreateFontIndirectW(&logfont));
  MemoryDc dc(nullptr);
  const HGDIOBJ old = SelectObject(dc.Get(), font.Get());
  std::vector<char> buffer(GetOutlineTextMetricsW(dc.Get(), 0, nullptr));
  if (!buffer.empty() && GetOutlineTextMetricsW(dc.Get(), static_cast<UINT>(buffer.size()),
                                                reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data()))) {
    const auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    const auto* name = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName));
    char narrow[LF_FACESIZE * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    if (family.Create(narrow)) mapped.emplace(face, narrow);
  }
  SelectObject(dc.Get(), old);
  return family;
}

void SkinEngine::LayoutCaption(SkinnedWindow& window) {
  window.strip = LayoutCaptionStrip(ClientRect(window.hwnd).right, CaptionButtonWidths(window));
}

void SkinEngine::ComposeBackground(SkinnedWindow& window) {
  const runtime::marks::Span span("compose");
  const RECT client = ClientRect(window.hwnd);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;

  // The system owns the region once it is set.
  SetWindowRgn(window.hwnd, nullptr, FALSE);
  SetWindowPos(window.hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowRgn(window.hwnd, CreateRoundRectRgn(0, 0, width + 1, height + 1, 5, 5), TRUE);

  if (!window.backgroundDc) window.backgroundDc.Create(nullptr);
  ++window.backgroundVersion;
  std::uint32_t* bits = nullptr;
  Bitmap composed = CreateArgbBitmap(width, height, &bits);
  window.backgroundDc.Select(composed.Get());
  window.backgroundBitmap = std::move(composed);  // the bitmap it replaced goes here
  window.backgroundBits = bits;
  window.backgroundWidth = width;
  window.backgroundHeight = height;
  props::Set(window.hwnd, props::kOriginalBitmap, reinterpret_cast<std::intptr_t>(window.backgroundDc.Original()));
  props::Set(window.hwnd, props::kComposedBitmap, reinterpret_cast<std::intptr_t>(window.backgroundBitmap.Get()));

  const auto w = static_cast<float>(width), h = static_cast<float>(height);
  {
    draw::Graphics graphics(window.backgroundDc.Get());
    graphics.SetInterpolationMode(draw::kInterpolationHighQualityBicubic);
    graphics.Clear(0xFFFF00FF);
    // Clipped to the window's own region: a rounded path of other corners would leave magenta
    // pixels inside the region, on screen.
    Region shape(CreateRoundRectRgn(0, 0, width + 1, height + 1, 5, 5));
    graphics.SetClip(shape.Get());
    const bool hasPicture = !window.picture.empty() && window.averageColour != 0;
    draw::SolidBrush fill(hasPicture ? window.averageColour : ToArgb(settings_.defaultFill));
    graphics.FillRectangle(fill, {0, 0, w, h});
    draw::Image& picture = window.decodedPicture;
    if (hasPicture && !picture) picture.LoadFromBytes(window.picture.span());
    if (hasPicture && picture) {
      const auto pw = static_cast<float>(picture.Width()), ph = static_cast<float>(picture.Height());
      switch (window.pictureMode) {
        case 1: graphics.DrawImage(picture, {w - pw, 0, pw, ph}); break;
        case 2: graphics.DrawImage(picture, {(w - pw) / 2, (h - ph) / 2, pw, ph}); break;
        case 3: graphics.DrawImage(picture, {0, 0, w, h}); break;
        default: graphics.DrawImage(picture, {0, 0, pw, ph}); break;
      }
      if (window.captionGloss) {
        const auto ch = static_cast<float>(window.captionHeight);
        draw::LinearGradientBrush gloss({0, 0}, {0, ch}, ToArgb(0xFFFFFF, 150), ToArgb(0xFFFFFF, 0), draw::kWrapTileFlipXY);
        graphics.FillRectangle(gloss, {0, 0, w, ch});
      }
    }
    graphics.ResetClip();
    if (window.captionButtonsActive) {
      graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
      draw::Pen dark(ToArgb(0x000000, 180), 1);
      draw::Pen light(ToArgb(0xFFFFFF, 180), 1);
      draw::GraphicsPath outer(draw::kFillAlternate), inner(draw::kFillAlternate);
      AddRoundedRectangle(outer, 0, 0, w - 1, h - 1, 7);
      AddRoundedRectangle(inner, 1, 1, w - 3, h - 3, 6);
      graphics.DrawPath(dark, outer);
      graphics.DrawPath(light, inner);
    }
  }

  if (window.captionButtonsActive) {
    // The clean caption band: every caption button is later drawn over this, never over itself.
    if (!window.captionDc) window.captionDc.Create(nullptr);
    Bitmap band = CreateArgbBitmap(width, window.captionHeight);
    window.captionDc.Select(band.Get());
    window.captionBitmap = std::move(band);
    BitBlt(window.captionDc.Get(), 0, 0, width, window.captionHeight, window.backgroundDc.Get(), 0, 0, SRCCOPY);
    if (window.showCaptionText) DrawCaptionText(window);
    for (std::size_t i = 1; i <= window.captionButtons.size(); ++i) DrawCaptionButton(window, static_cast<int>(i), 0, false);
  }

  WindowDc screen(window.hwnd);
  BitBlt(screen.Get(), 0, 0, width, height, window.backgroundDc.Get(), 0, 0, SRCCOPY);
}

void SkinEngine::ShowBackground(SkinnedWindow& window, HDC target) {
  BitBlt(target, 0, 0, window.backgroundWidth, window.backgroundHeight, window.backgroundDc.Get(), 0, 0, SRCCOPY);
}

void SkinEngine::DrawCaptionText(SkinnedWindow& window) {
  const RECT client = ClientRect(window.hwnd);
  const int bandWidth = client.right - window.strip.width - 16;
  ++window.backgroundVersion;
  // Start from the clean band so a new title never lands on the old one.
  BitBlt(window.backgroundDc.Get(), 0, 0, std::clamp(bandWidth + 29, 0, window.strip.x), window.captionHeight, window.captionDc.Get(), 0, 0,
         SRCCOPY);
  if (settings_.captionIcon) DrawIconEx(window.backgroundDc.Get(), 9, 5, settings_.captionIcon, 17, 17, 0, nullptr, DI_NORMAL);

  char title[512] = {};
  GetWindowTextA(window.hwnd, title, sizeof title);
  draw::FontFamily family = FamilyFor(window.captionFont);
  draw::Font font(family, static_cast<float>(window.captionFontSize), window.captionFontStyle, draw::kUnitPixel);
  if (!font) return;
  draw::Graphics graphics(window.backgroundDc.Get());
  graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
  const draw::RectF place{29, 8, static_cast<float>(std::max(bandWidth, 0)), 32};
  // A long title ends left of the caption buttons: what lies over them is never cleaned again.
  const float free = static_cast<float>(std::min(window.strip.x, static_cast<int>(place.x + place.width)));
  graphics.SetClip(draw::RectF{0, 0, std::max(free, 0.0f), static_cast<float>(window.captionHeight)});
  draw::SolidBrush halo(ToArgb(window.captionShadowColour, 150));
  const float shifts[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (const auto& shift : shifts) {
    graphics.DrawString(title, font, {place.x + shift[0], place.y + shift[1], place.width, place.height}, nullptr, halo);
  }
  draw::SolidBrush text(ToArgb(window.captionTextColour, 255));
  graphics.DrawString(title, font, place, nullptr, text);
}

bool SkinEngine::OnMaximizedSize(SkinnedWindow& window) {
  const RECT client = ClientRect(window.hwnd);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (!window.hasMaximize || client.right != screenWidth || client.bottom != screenHeight) return false;
  window.maximizedToWorkArea = true;
  SetWindowPos(window.hwnd, nullptr, 0, 0, screenWidth, screenHeight - TaskBarHeight(), SWP_NOZORDER | SWP_NOOWNERZORDER);
  return true;
}

void SkinEngine::OnPress(SkinnedWindow& window, int x, int y) {
  const HWND hwnd = window.hwnd;
  window.fade.in.button = 0;
  if (window.captionButtonsActive && !window.maximizedToWorkArea && !window.minimized) {
    const RECT client = ClientRect(window.hwnd);
    const PressAction action =
        ActionForPress(x, y, client.right, client.bottom, window.captionHeight, window.dblClickMaximizes, window.strip);
    if (action.kind == PressAction::kMove) {
      SendMessageA(window.hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    } else if (action.kind == PressAction::kSize) {
      SetCursor(LoadCursorA(nullptr, CursorFor(action.zone)));
      SendMessageA(window.hwnd, WM_SYSCOMMAND, SC_SIZE + SizeCommandOffset(action.zone), 0);
    }
  }
  // The move loop may have ended with the window gone.
  if (!IsWindow(hwnd) || WindowOf(hwnd) != &window) return;
  if (!window.captionButtonsActive) return;
  pressedCaptionButton_ = CaptionButtonAt(window.strip, x, y);
  if (pressedCaptionButton_ >= 1) DrawCaptionButton(window, pressedCaptionButton_, 0, true);
}

LRESULT SkinEngine::TransparentColours(SkinnedWindow& window, UINT message, HDC dc, HWND control) {
  SetTextColor(dc, static_cast<COLORREF>(props::Get(control, props::kTextColour)));
  SetBkMode(dc, TRANSPARENT);
  DeleteObject(reinterpret_cast<HGDIOBJ>(props::Get(control, props::kBackgroundBrush)));
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  const bool list = lstrcmpiA(name, "ListBox") == 0;
  const bool combo = lstrcmpiA(name, "ComboBox") == 0;
  if (message == WM_CTLCOLORBTN || list || combo) {
    props::Set(control, props::kBackgroundBrush, 0);  // the stock brush is not ours to delete
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  DeleteObject(reinterpret_cast<HGDIOBJ>(props::Get(control, props::kBackgroundBitmap)));
  props::Set(control, props::kBackgroundBitmap, 0);
  props::Set(control, props::kBackgroundBrush, 0);
  // A child without a record of its own (a plain static) takes the background of this frame.
  auto surface = BackgroundBehind(control, false, &window);
  if (!surface) return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  {
    draw::Graphics graphics(surface->dc.Get());
    draw::SolidBrush veil(ToArgb(0xFFFFFF, settings_.veilAlpha));
    graphics.FillRectangle(veil, {0, 0, static_cast<float>(surface->width), static_cast<float>(surface->height)});
  }
  surface->dc.Reset();
  HBITMAP bitmap = surface->bitmap.Release();
  HBRUSH brush = CreatePatternBrush(bitmap);
  props::Set(control, props::kBackgroundBitmap, reinterpret_cast<std::intptr_t>(bitmap));
  props::Set(control, props::kBackgroundBrush, reinterpret_cast<std::intptr_t>(brush));
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT SkinEngine::FrameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinnedWindow* window = WindowOf(hwnd);
  if (!window) return CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
  const WNDPROC old = window->oldProc;
  auto passOn = [&] { return old ? CallWindowProcA(old, hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam); };

  switch (message) {
    case WM_SIZE:
      window->fade.hot = 0;
      if (settings_.firstSize) {
        // The first size comes with the first show, which composes anyway; but a background
        // already made for another size must still be rebuilt.
        settings_.firstSize = false;
        const bool stale = window->backgroundDc && (LOWORD(lParam) != window->backgroundWidth ||
                                                    HIWORD(lParam) != window->backgroundHeight);
        if (stale) window->backgroundDirty = true;
      } else {
        window->backgroundDirty = true;
      }
      break;
    case WM_SETTEXT:
      if (window->captionButtonsActive && window->showCaptionText && window->backgroundDc) {
        const LRESULT result = passOn();
        DrawCaptionText(*window);
        WindowDc screen(hwnd);
        BitBlt(screen.Get(), 0, 0, window->backgroundWidth, window->captionHeight, window->backgroundDc.Get(), 0, 0, SRCCOPY);
        return result;
      }
      break;
    case WM_PAINT: {
      {
        const runtime::marks::Span span("paint-main");
        PaintScope paint(hwnd);
        if (!window->minimized) {
          if (window->backgroundDirty || !window->backgroundDc) {
            ComposeBackground(*window);
            window->backgroundDirty = false;
          } else {
            ShowBackground(*window, paint.Get());
          }
        }
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_QUIT:
      gdiplus_.Shutdown();
      break;
    case WM_QUERYOPEN:
      window->minimized = false;
      break;
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_SHOWWINDOW:
      if (wParam) {
        if (window->minimized) {
          window->minimized = false;
        } else {
          PaintScope paint(hwnd);
          ComposeBackground(*window);
        }
      }
      break;
    case WM_ACTIVATEAPP:
      if (!wParam) trim_.Start();
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {window->minTrackWidth, window->minTrackHeight};
      if (window->maximizedToWorkArea) {
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - TaskBarHeight()};
      } else {
        info->ptMaxTrackSize = {window->maxTrackWidth, window->maxTrackHeight};
      }
      break;
    }
    case WM_WINDOWPOSCHANGED:
      OnMaximizedSize(*window);
      if (WindowOf(hwnd) == window) LayoutCaption(*window);
      break;
    case WM_DRAWITEM:
      if (drawItem_ && lParam && drawItem_(hwnd, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && (static_cast<int>(header->code) == -405 || static_cast<int>(header->code) == -406)) {
        InvalidateRect(header->hwndFrom, nullptr, TRUE);
      }
      break;
    }
    case WM_DESTROY:
      FreeChildBackgrounds(*window);
      break;
    case WM_NCDESTROY:
      Cleanup(hwnd);
      return old ? CallWindowProcA(old, hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_COMMAND:
      if (settings_.skinChildren && settings_.textFields && lParam) {
        const UINT code = HIWORD(wParam);
        char name[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(lParam), name, sizeof name);
        const bool edit = lstrcmpiA(name, "Edit") == 0 &&
                          (code == EN_CHANGE || code == EN_UPDATE || code == EN_HSCROLL || code == EN_VSCROLL);
        const bool list = lstrcmpiA(name, "ListBox") == 0 && (code == LBN_SELCHANGE || code == LBN_SELCANCEL);
        const bool combo = lstrcmpiA(name, "ComboBox") == 0 && (code == CBN_SELCHANGE || code == CBN_KILLFOCUS);
        if (edit || list || combo) InvalidateRect(reinterpret_cast<HWND>(lParam), nullptr, TRUE);
      }
      break;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE:
          window->maximizedToWorkArea = true;
          window->backgroundDirty = true;
          break;
        case SC_RESTORE:
          window->backgroundDirty = true;
          window->minimized = false;
          break;
        case SC_MINIMIZE:
          window->backgroundDirty = true;
          window->minimized = true;
          break;
      }
      break;
    case WM_LBUTTONDOWN:
      OnPress(*window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (WindowOf(hwnd) != window) return 0;
      break;
    case WM_MOUSEMOVE: {
      const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (!window->maximizedToWorkArea) {
        const RECT client = ClientRect(hwnd);
        if (LPCSTR cursor = CursorFor(HitSizeZone(x, y, client.right, client.bottom))) SetCursor(LoadCursorA(nullptr, cursor));
      }
      if (!window->trackingMouse) {
        TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, hwnd, 1};
        TrackMouseEvent(&track);
      }
      if (window->captionButtonsActive) OnMouseMove(*window, x, y);
      break;
    }
    case WM_TIMER:
      if (wParam == reinterpret_cast<WPARAM>(hwnd)) {
        OnTimer(*window);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      OnRelease(*window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (WindowOf(hwnd) != window) return 0;
      break;
    case WM_LBUTTONDBLCLK:
      if (GET_Y_LPARAM(lParam) <= window->captionHeight && window->dblClickMaximizes) {
        for (std::size_t i = 0; i < window->captionButtons.size(); ++i) {
          if (window->captionButtons[i].command == CaptionCommand::kMaximizeRestore) {
            RunCaptionCommand(hwnd, static_cast<int>(i) + 1);
            return 0;
          }
        }
      }
      break;
    case WM_MOUSELEAVE:
      window->trackingMouse = false;
      OnMouseLeave(*window);
      break;
    case WM_MOUSEHOVER:
      window->trackingMouse = true;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (settings_.skinChildren && settings_.textFields && lParam) {
        return TransparentColours(*window, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      }
      break;
  }
  return passOn();
}

}  // namespace skin
