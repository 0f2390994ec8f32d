#include "skin/skinned_button.h"

#include <cmath>
#include <memory>

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/window_properties.h"
#include "runtime/time_marks_win.h"

namespace skin {
namespace {

SkinEngine* Engine() { return SkinEngine::Current(); }

void (*paintObserver)(HWND) = nullptr;

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void ReadFont(HWND hwnd, ButtonRecord& record) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  LOGFONTA logfont{};
  if (!font || !GetObjectA(font, sizeof logfont, &logfont)) logfont = LOGFONTA{};  // the defaults below
  // The screen's resolution, asked once: every button of a window asks here while it is skinned.
  static const int dpi = [] {
    WindowDc screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
  }();
  const int points = logfont.lfHeight ? static_cast<int>(std::lround(std::abs(logfont.lfHeight) * 72.0 / (dpi > 0 ? dpi : 96))) : 0;
  record.fontName = logfont.lfFaceName[0] ? logfont.lfFaceName : "宋体";
  record.fontSize = points > 0 ? points : 12;
  record.fontStyle = (logfont.lfWeight >= FW_BOLD ? 1 : 0) | (logfont.lfItalic ? 2 : 0) | (logfont.lfUnderline ? 4 : 0) |
                     (logfont.lfStrikeOut ? 8 : 0);
}

std::unique_ptr<ControlRecord> MakeButtonRecord() { return std::make_unique<ButtonRecord>(); }

void Attached(HWND hwnd, ControlRecord& base) {
  auto& record = static_cast<ButtonRecord&>(base);
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  record.kind = IsSkinnableRadio(style) ? ButtonType::kRadio : IsSkinnableCheckBox(style) ? ButtonType::kCheckBox : ButtonType::kPush;
  if (record.kind != ButtonType::kPush) {
    // From the old procedure: the record answers BM_GETCHECK from now on.
    record.checked = CallWindowProcA(record.oldProc, hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const LONG_PTR type = style & BS_TYPEMASK;
    record.autoToggle = type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON;
  }
  record.text = WindowText(hwnd);
  ReadFont(hwnd, record);
  SetWindowLongPtrA(hwnd, GWL_STYLE, style | kOwnerDrawnBits);
  // A button already on screen takes its look at the next paint.
  InvalidateRect(hwnd, nullptr, TRUE);
}

bool AcceptsPush(HWND, LONG_PTR style) { return IsSkinnablePushButton(style); }
bool AcceptsCheckOrRadio(HWND, LONG_PTR style) { return IsSkinnableRadio(style) || IsSkinnableCheckBox(style); }

bool DrawItem(HWND, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON || props::Get(item.hwndItem, props::kIndex) < 1) return false;
  ButtonRecord* record = RecordFor<ButtonRecord>(item.hwndItem);
  if (!record) return false;
  if (record->kind == ButtonType::kPush) {
    DrawButton(item.hwndItem, item.hDC, item.itemState, item.rcItem);
  } else {
    // They paint themselves in WM_PAINT; a press repaints them through here as well.
    DrawCheckOrRadio(item.hwndItem, item.hDC, item.itemState & ~ODS_SELECTED);
  }
  return true;
}

void FillVertical(draw::Graphics& graphics, const draw::GraphicsPath& path, float x, float top, float bottom,
                  std::uint32_t from, std::uint32_t to) {
  draw::LinearGradientBrush brush({x, top}, {x, bottom}, from, to);
  graphics.FillPath(brush, path);
}

}  // namespace

std::vector<ChildKind> ButtonKinds() {
  return {ChildKind{ControlKind::kButtons, "Button", &AcceptsPush, &ButtonProcedure, &MakeButtonRecord, &Attached},
          ChildKind{ControlKind::kButtons, "Button", &AcceptsCheckOrRadio, &ButtonProcedure, &MakeButtonRecord, &Attached}};
}

void InstallButtons(SkinEngine& engine) {
  engine.SetChildKinds(ButtonKinds());
  engine.SetDrawItemHandler(&DrawItem);
}

void DrawGlow(draw::Graphics& graphics, const draw::GraphicsPath& path, int steps, std::uint32_t argb) {
  draw::Pen pen(argb, 1);
  for (int i = 1; i <= steps; ++i) {
    pen.SetWidth(static_cast<float>(i));
    graphics.DrawPath(pen, path);
  }
}

void DrawButtonBase(draw::Graphics& graphics, const draw::GraphicsPath& shape, const draw::RectF& r, bool disabled) {
  draw::SolidBrush base(ToArgb(0xFFFFFF, 120));
  graphics.FillPath(base, shape);
  if (!disabled) return;
  draw::SolidBrush silver(ToArgb(0xC0C0C0, 255));
  graphics.FillRectangle(silver, r);
  draw::LinearGradientBrush blend({r.x, r.y}, {r.x, r.y + r.height}, ToArgb(0xFFFFFF, 50), ToArgb(0xFFFFFF, 50));
  const std::uint32_t colours[] = {ToArgb(0xFFFFFF, 50), ToArgb(0, 10), ToArgb(0xFFFFFF, 50)};
  const float positions[] = {0.0f, 0.5f, 1.0f};
  blend.SetPresetBlend(colours, positions);
  graphics.FillPath(blend, shape);
  draw::Pen outline(ToArgb(0, 80), 1);
  graphics.DrawPath(outline, shape);
}

namespace {

std::unique_ptr<OffscreenSurface> DrawButtonLook(SkinEngine& engine, HWND hwnd, const ButtonRecord& record, UINT state,
                                                 const RECT& rect, COLORREF textColour) {
  const int wi = rect.right - rect.left, hi = rect.bottom - rect.top;
  auto surface = engine.BackgroundBehind(hwnd);
  if (!surface) return nullptr;
  const float x = static_cast<float>(rect.left), y = static_cast<float>(rect.top);
  const float w = static_cast<float>(wi), h = static_cast<float>(hi);
  const COLORREF accent = engine.Settings().accent;
  draw::Graphics graphics(surface->dc.Get());
  graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
  const draw::GraphicsPath shape = RoundedRectanglePath(x, y, w - 1, h - 1, 5);
  DrawButtonBase(graphics, shape, {x, y, w, h}, (state & ODS_DISABLED) != 0);

  if (!(state & ODS_DISABLED)) {
    FillVertical(graphics, shape, x, y, y + h - 1, ToArgb(0xFFFFFF, 0), ToArgb(0x808080, 60));
    draw::GraphicsPath gloss(draw::kFillAlternate);
    AddTopRounded(gloss, x, y, w - 1, static_cast<float>(hi / 2), 5);
    FillVertical(graphics, gloss, x, y, y + static_cast<float>(hi / 2), ToArgb(0xFFFFFF, 50), ToArgb(0xFFFFFF, 10));
    if (state & ODS_HOTLIGHT) {
      FillVertical(graphics, shape, x, y, y + h - 1, ToArgb(accent, 60), ToArgb(accent, 10));
      draw::Pen outline(ToArgb(accent, 255), 1);
      graphics.DrawPath(outline, shape);
    } else if (state & ODS_FOCUS) {
      draw::Pen outline(ToArgb(0, 70), 1);
      DrawGlow(graphics, shape, 3, ToArgb(kAccentColour, 120));
      graphics.DrawPath(outline, shape);
    } else {
      draw::Pen outline(ToArgb(0, 120), 1);
      graphics.DrawPath(outline, shape);
    }
    if (state & ODS_SELECTED) {
      const draw::GraphicsPath inset = RoundedRectanglePath(x + 2, y + 2, w - 3, h - 3, 5);
      draw::LinearGradientBrush press({2, 2}, {2, h - 2}, ToArgb(accent, 60), ToArgb(0xFFFFFF, 100));
      graphics.FillPath(press, inset);
    }
  }

  if (!record.text.empty()) {
    draw::FontFamily family = FamilyFor(record.fontName);
    draw::Font font(family, static_cast<float>(record.fontSize), record.fontStyle, draw::kUnitPoint);
    draw::StringFormat format(0);
    format.SetAlignment(draw::kAlignCenter);
    format.SetLineAlignment(draw::kAlignCenter);
    draw::SolidBrush ink(ToArgb(textColour, 255));
    if (font) graphics.DrawString(std::string_view(record.text), font, {0, 2, w, h}, &format, ink);
  }
  return surface;
}

}  // namespace

// A look is drawn once per state and kept: the next paints of that state are one copy, until the
// background, the button's place or size, its text or a colour changes.
void DrawButton(HWND hwnd, HDC dc, UINT state, const RECT& rect) {
  const runtime::marks::Span span("button-paint");
  SkinEngine* engine = Engine();
  ButtonRecord* record = RecordFor<ButtonRecord>(hwnd);
  const SkinnedWindow* window = engine ? engine->OwnerOf(hwnd) : nullptr;
  if (!record || !window) return;
  const int wi = rect.right - rect.left, hi = rect.bottom - rect.top;
  if (wi <= 0 || hi <= 0) return;
  const auto textColour = static_cast<COLORREF>(props::Get(hwnd, props::kTextColour));
  ButtonRecord::LooksSource source{SkinEngine::StampOf(*window, hwnd), textColour, engine->Settings().accent, record->text};
  source.place.x += rect.left;
  source.place.y += rect.top;
  source.place.width = wi;
  source.place.height = hi;
  if (record->looksSource != source) {
    record->looks.clear();
    record->looksSource = std::move(source);
  }
  constexpr UINT kLookBits = ODS_SELECTED | ODS_DISABLED | ODS_FOCUS | ODS_HOTLIGHT;
  std::unique_ptr<OffscreenSurface>& look = record->looks[state & kLookBits];
  if (!look) look = DrawButtonLook(*engine, hwnd, *record, state, rect, textColour);
  if (!look) return;
  BitBlt(dc, 0, 0, wi, hi, look->dc.Get(), 0, 0, SRCCOPY);
  if (paintObserver) paintObserver(hwnd);
}

void SetButtonPaintObserver(void (*observer)(HWND)) { paintObserver = observer; }

void RedrawButton(HWND hwnd, UINT state, bool hover) {
  ButtonRecord* record = RecordFor<ButtonRecord>(hwnd);
  if (!record) return;
  if (hover) state |= ODS_HOTLIGHT;
  // A disabled button keeps its disabled look under the mouse.
  if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
  RECT client{};
  GetClientRect(hwnd, &client);
  WindowDc dc(hwnd);
  if (!dc.Get()) return;
  if (record->kind == ButtonType::kPush) {
    DrawButton(hwnd, dc.Get(), state, client);
  } else {
    DrawCheckOrRadio(hwnd, dc.Get(), state);
  }
}

LRESULT CALLBACK ButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinEngine* engine = Engine();
  const SkinEngine::Attachment at = engine ? engine->AttachmentOf(hwnd, ControlKind::kButtons) : SkinEngine::Attachment{};
  auto* record = static_cast<ButtonRecord*>(at.record);
  SkinnedWindow* window = at.window;
  if (!record || !window) return PassOn(hwnd, message, wParam, lParam);
  const int index = at.index;
  if (record->kind != ButtonType::kPush) {
    if (const std::optional<LRESULT> handled = CheckOrRadioMessage(hwnd, *record, *window, message, wParam, lParam)) {
      return *handled;
    }
  }

  switch (message) {
    case WM_MOVE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_SETFOCUS:
      record->focused = true;
      break;
    case WM_KILLFOCUS:
      record->focused = false;
      break;
    case WM_SETTEXT:
      record->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      break;
    case WM_ERASEBKGND: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      return static_cast<LRESULT>(SetTextColor(dc, static_cast<COLORREF>(props::Get(hwnd, props::kTextColour))));
    }
    case WM_NCPAINT:
      return 1;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&track);
      window->lastButton = index;
      if (window->hotButton != window->lastButton || window->hoverReset) {
        RedrawButton(hwnd, 0, true);
        window->hotButton = window->lastButton;
        window->hoverReset = false;
      }
      break;
    }
    case WM_LBUTTONUP:
      window->hotButton = 0;
      break;
    case WM_LBUTTONDBLCLK:
      // A fast second click does nothing.
      return 0;
    case WM_MOUSELEAVE:
      // The leave of the button the mouse came from arrives after the next one turned hot:
      // that one stays hot, or its next move would paint it again.
      if (window->hotButton == index) window->hotButton = 0;
      RedrawButton(hwnd, record->focused ? ODS_FOCUS : 0, false);
      break;
    default:
      break;
  }
  return PassOn(hwnd, message, wParam, lParam);
}

}  // namespace skin
