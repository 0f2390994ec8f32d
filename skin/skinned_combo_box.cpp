#include "skin/skinned_combo_box.h"

#include <memory>

#include "assets/carried_pictures.h"
#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

// Straight to the old procedure: these reads must not come back through our own bookkeeping.
LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return PassOn(hwnd, message, wParam, lParam);
}

// Whether the selection moved since the record last looked; the record follows it.
bool ReadSelection(HWND hwnd, ComboBoxRecord& record) {
  const int selection = static_cast<int>(Ask(hwnd, CB_GETCURSEL));
  std::string text;
  if (selection != CB_ERR) {
    const LRESULT length = Ask(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection));
    if (length > 0) {
      text.assign(static_cast<std::size_t>(length) + 1, '\0');
      const LRESULT copied = Ask(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(text.data()));
      text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    }
  }
  const bool changed = selection != record.selection || text != record.text;
  record.selection = selection;
  record.text = std::move(text);
  return changed;
}

bool AcceptsAny(HWND, LONG_PTR) { return true; }

std::unique_ptr<ControlRecord> MakeRecord() { return std::make_unique<ComboBoxRecord>(); }

void Attached(HWND hwnd, ControlRecord& base) {
  auto& record = static_cast<ComboBoxRecord&>(base);
  ReadSelection(hwnd, record);
  props::Set(hwnd, props::kTextColour, 0);
  InvalidateRect(hwnd, nullptr, FALSE);
}

int ComboType(HWND hwnd) { return static_cast<int>(GetWindowLongPtrA(hwnd, GWL_STYLE) & 0x3); }

// The selection's text over the white: drawn on the key colour off screen, then copied without
// it. The font is taken unsmoothed, since edge pixels blended with the key would carry it along.
void DrawSelectionText(HWND hwnd, const ComboBoxRecord& record, HDC target, const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (record.text.empty() || width <= 0 || height <= 0) return;
  OffscreenSurface text(width, height);
  if (!text.bits) return;
  GdiObject<HBRUSH> key(CreateSolidBrush(kComboKeyColour));
  RECT all{0, 0, width, height};
  FillRect(text.dc.Get(), &all, key.Get());

  LOGFONTA logfont{};
  const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  if (!font || !GetObjectA(font, sizeof logfont, &logfont)) logfont.lfHeight = -12;
  lstrcpynA(logfont.lfFaceName, "宋体", LF_FACESIZE);
  logfont.lfCharSet = DEFAULT_CHARSET;
  logfont.lfQuality = NONANTIALIASED_QUALITY;
  GdiObject<HFONT> face(CreateFontIndirectA(&logfont));
  const HGDIOBJ old = SelectObject(text.dc.Get(), face.Get());
  SetBkMode(text.dc.Get(), TRANSPARENT);
  COLORREF ink = static_cast<COLORREF>(props::Get(hwnd, props::kTextColour));
  if (ink == kComboKeyColour) ink = 0;
  SetTextColor(text.dc.Get(), ink);
  DrawTextA(text.dc.Get(), record.text.c_str(), static_cast<int>(record.text.size()), &all,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(text.dc.Get(), old);
  TransparentBlt(target, area.left, area.top, width, height, text.dc.Get(), 0, 0, width, height, kComboKeyColour);
}

}  // namespace

std::vector<ChildKind> ComboBoxKinds() {
  return {ChildKind{ControlKind::kComboBoxes, "ComboBox", &AcceptsAny, &ComboBoxProcedure, &MakeRecord, &Attached}};
}

void DrawComboBox(HWND hwnd, HDC dc) {
  SkinEngine* engine = SkinEngine::Current();
  ComboBoxRecord* record = RecordFor<ComboBoxRecord>(hwnd);
  if (!engine || !record) return;
  auto surface = engine->BackgroundBehind(hwnd, true);
  if (!surface) return;
  const int wi = surface->width, hi = surface->height;
  const auto w = static_cast<float>(wi), h = static_cast<float>(hi);
  const SkinSettings& settings = engine->Settings();
  const COLORREF accent = settings.accent;
  const int type = ComboType(hwnd);
  const bool dropButton = (type & 0x2) != 0;
  const int b = type == CBS_DROPDOWNLIST ? 17 : 18;
  const bool lit = record->hot || record->focused;
  {
    draw::Graphics graphics(surface->dc.Get());
    draw::SolidBrush white(ToArgb(0xFFFFFF, settings.textFields ? settings.veilAlpha : 255));
    graphics.FillRectangle(white, {0, 0, w, h});
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    draw::Pen border(lit ? ToArgb(accent, 200) : ToArgb(0, 80), 1);
    graphics.DrawRectangle(border, {0, 0, w - 1, h - 1});
    if (dropButton) {
      const float bx = w - static_cast<float>(b) - 2;
      graphics.DrawPath(border, RoundedRectanglePath(bx, 2, static_cast<float>(b - 1), h - 5, 4));
      const draw::GraphicsPath face = RoundedRectanglePath(bx + 1, 3, static_cast<float>(b - 2), h - 6, 1);
      draw::LinearGradientBrush fill({0, 3}, {0, h - 3},
                                     record->hot ? ToArgb(0xFFFFFF, 100) : ToArgb(accent, 30),
                                     record->hot ? ToArgb(accent, 150) : ToArgb(accent, 100), draw::kWrapTileFlipXY);
      graphics.FillPath(fill, face);
      draw::Image arrow;
      if (arrow.LoadFromBytes(assets::Carried(assets::Picture::kArrowDown))) {
        const auto aw = static_cast<float>(arrow.Width()), ah = static_cast<float>(arrow.Height());
        const float ax = static_cast<float>(static_cast<int>(bx + (static_cast<float>(b - 1) - aw) / 2 + 0.5f));
        const float ay = static_cast<float>(static_cast<int>(2 + (h - 5 - ah) / 2 + 0.5f));
        graphics.SetSmoothingMode(draw::kSmoothingNone);
        graphics.DrawImage(arrow, {ax, ay, aw, ah});
      }
    }
  }
  if (type == CBS_DROPDOWNLIST) {
    // The text area: the rectangle inset by 3 pixels, left of the drop button.
    const RECT area{3, 3, wi - b - 3, hi - 3};
    DrawSelectionText(hwnd, *record, surface->dc.Get(), area);
  }
  BitBlt(dc, 0, 0, wi, hi, surface->dc.Get(), 0, 0, SRCCOPY);
}

void RedrawComboBox(HWND hwnd) {
  WholeWindowDc dc(hwnd);
  if (dc.Get()) DrawComboBox(hwnd, dc.Get());
}

LRESULT CALLBACK ComboBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboBoxRecord* record = RecordFor<ComboBoxRecord>(hwnd);
  SkinEngine* engine = SkinEngine::Current();
  SkinnedWindow* window = engine ? engine->OwnerOf(hwnd) : nullptr;
  if (!record || !window) return PassOn(hwnd, message, wParam, lParam);

  switch (message) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&track);
      window->hotButton = static_cast<int>(props::Get(hwnd, props::kIndex));
      window->hoverReset = true;
      if (!record->hot) {
        record->hot = true;
        RedrawComboBox(hwnd);
      }
      break;
    }
    case WM_MOUSELEAVE:
      record->hot = false;
      RedrawComboBox(hwnd);
      break;
    case WM_MOVE:
      RedrawComboBox(hwnd);
      break;
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_PAINT: {
      ReadSelection(hwnd, *record);
      {
        PaintScope paint(hwnd);
        WholeWindowDc dc(hwnd);
        if (dc.Get()) DrawComboBox(hwnd, dc.Get());
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_NCPAINT:
      RedrawComboBox(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // The focus change is the old procedure's first: it paints its own text part on the way.
      const LRESULT result = PassOn(hwnd, message, wParam, lParam);
      record->focused = message == WM_SETFOCUS;
      RedrawComboBox(hwnd);
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = PassOn(hwnd, message, wParam, lParam);
      if (HWND edit = FindWindowExA(hwnd, nullptr, "Edit", nullptr)) InvalidateRect(edit, nullptr, TRUE);
      return result;
    }
    case WM_CTLCOLOREDIT:
      if (engine->Settings().textFields) {
        return engine->FrameMessage(window->hwnd, message, wParam, lParam);
      }
      break;
    case WM_COMMAND:
      if (engine->Settings().skinChildren && engine->Settings().textFields) {
        const UINT code = HIWORD(wParam);
        if (code == EN_CHANGE || code == EN_UPDATE || code == EN_HSCROLL || code == EN_VSCROLL) {
          const LRESULT result = PassOn(hwnd, message, wParam, lParam);
          InvalidateRect(reinterpret_cast<HWND>(lParam), nullptr, TRUE);
          return result;
        }
      }
      break;
    case CB_GETCURSEL:
    case CB_GETLBTEXT:
    case CB_GETLBTEXTLEN:
      return PassOn(hwnd, message, wParam, lParam);
    default:
      break;
  }
  const LRESULT result = PassOn(hwnd, message, wParam, lParam);
  // A new selection (by the program, a key or the list) shows at once, however the old
  // procedure meant to paint it.
  if (IsWindow(hwnd) && RecordFor<ComboBoxRecord>(hwnd) == record && ReadSelection(hwnd, *record)) RedrawComboBox(hwnd);
  return result;
}

}  // namespace skin
