#include "skin/tab_strip.h"

#include "draw/graphics.h"
#include "skin/colour.h"
#include "skin/rounded_shapes.h"
#include "skin/skin_engine.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

constexpr char kStripProperty[] = "Hw_Bqt";  // the TabStrip that owns the label

RECT ToRect(const TabRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void AddShape(draw::GraphicsPath& path, int style, float x, float y, float w, float h, float r) {
  if (style == 2) {
    AddTopRounded(path, x, y, w, h, r);
  } else {
    AddRoundedRectangle(path, x, y, w, h, r);
  }
}

// The label's background comes from the window it sits on: lend it that window as its owner.
void AdoptOwner(HWND hwnd) {
  SkinEngine* engine = SkinEngine::Current();
  if (!engine || engine->OwnerOf(hwnd)) return;
  if (const std::size_t index = engine->Registry().OwningIndex(hwnd)) {
    props::Set(hwnd, props::kOwner, static_cast<std::intptr_t>(index));
  }
}

}  // namespace

TabStrip::~TabStrip() { Detach(); }

void TabStrip::Detach() {
  if (!hwnd_) return;
  if (IsWindow(hwnd_) && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) == &TabStripProcedure) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
  }
  if (IsWindow(hwnd_)) RemovePropA(hwnd_, kStripProperty);
  hwnd_ = nullptr;
  oldProc_ = nullptr;
  items_.clear();
  base_.reset();
  cache_.reset();
}

void TabStrip::AttachTabStrip(HWND hwnd, std::optional<int> tabWidth, std::optional<int> /*selectionStyle*/,
                              std::optional<int> style, std::optional<bool> clickable, std::optional<COLORREF> tintColour,
                              std::optional<int> tintAlpha, std::optional<COLORREF> fillColour) {
  if (!IsWindow(hwnd)) return;
  Detach();
  hwnd_ = hwnd;
  style_ = style.value_or(3);
  clickable_ = clickable.value_or(true);
  tintColour_ = tintColour.value_or(0xDDCA22);
  tintAlpha_ = tintAlpha.value_or(160);
  fillColour_ = fillColour.value_or(0);
  RECT client{};
  GetClientRect(hwnd, &client);
  layout_ = TabLayout(tabWidth.value_or(60), client.bottom);
  hotItem_ = selectedItem_ = mouseItem_ = 0;
  needsFullDraw_ = true;
  AdoptOwner(hwnd);
  SetPropA(hwnd, kStripProperty, this);
  oldProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TabStripProcedure)));
  InvalidateRect(hwnd, nullptr, FALSE);
}

void TabStrip::AddTab(std::string text, runtime::ByteSetRef picture, std::optional<COLORREF> textColour) {
  TabItem item;
  item.rect = layout_.Add();
  item.index = layout_.Count();
  item.text = std::move(text);
  item.picture = runtime::ByteSet(picture.span());
  item.textColour = textColour.value_or(0);
  if (items_.empty() && clickable_) {
    item.selected = true;
    selectedItem_ = 1;
  }
  items_.push_back(std::move(item));
  needsFullDraw_ = true;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TabStrip::FullDraw() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  SkinEngine* engine = SkinEngine::Current();
  base_ = engine ? engine->BackgroundBehind(hwnd_) : nullptr;
  if (!base_) {
    base_ = std::make_unique<OffscreenSurface>(client.right, client.bottom);
    FillRect(base_->dc.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  {
    draw::Graphics graphics(base_->dc.Get());
    graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
    if (fillColour_ != 0) graphics.Clear(ToArgb(fillColour_, 255));
    const float x = 0, y = 0, w = static_cast<float>(layout_.BarWidth()), h = static_cast<float>(layout_.BarHeight());
    if (style_ != 1) {
      draw::GraphicsPath outer(draw::kFillAlternate), inner(draw::kFillAlternate);
      AddShape(outer, style_, x, y, w - 1, h - 1, 5);
      AddShape(inner, style_, x + 1, y + 1, w - 3, h - 3, 5);
      draw::Pen dark(ToArgb(0, 40), 1), light(ToArgb(0xFFFFFF, 130), 1);
      graphics.DrawPath(dark, outer);
      graphics.DrawPath(light, inner);
    }
    draw::GraphicsPath gloss(draw::kFillAlternate);
    AddRoundedRectangle(gloss, x + 2, y + 1, w - 4, h - 4, 3);
    draw::LinearGradientBrush shine({x, y + 1}, {x, y + h - 3}, ToArgb(0xFFFFFF, 120), ToArgb(0xFFFFFF, 0));
    graphics.FillPath(shine, gloss);

    const int margin = layout_.Margin();
    draw::Pen dark(ToArgb(0, 60), 1), light(ToArgb(0xFFFFFF, 100), 1);
    for (int i = 2; i <= layout_.Count(); ++i) {
      const auto sx = static_cast<float>(layout_.SeparatorX(i));
      const float top = y + margin + 5, bottom = y + margin + h - 8;
      graphics.DrawLine(dark, sx, top, sx, bottom);
      graphics.DrawLine(light, sx + 1, top, sx + 1, bottom);
    }
  }
  cache_ = std::make_unique<OffscreenSurface>(base_->width, base_->height);
  BitBlt(cache_->dc.Get(), 0, 0, base_->width, base_->height, base_->dc.Get(), 0, 0, SRCCOPY);
  for (TabItem& item : items_) DrawTab(item);
  needsFullDraw_ = false;
}

void TabStrip::DrawTab(TabItem& item) {
  if (!cache_ || !base_) return;
  const TabRect& r = item.rect;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  ++tabsDrawn_;
  BitBlt(cache_->dc.Get(), r.left, r.top, width, height, base_->dc.Get(), r.left, r.top, SRCCOPY);
  draw::Graphics graphics(cache_->dc.Get());
  graphics.SetSmoothingMode(draw::kSmoothingAntiAlias);
  const auto left = static_cast<float>(r.left), top = static_cast<float>(r.top);
  const auto w = static_cast<float>(width), h = static_cast<float>(height);
  if (item.selected || item.hot) {
    draw::GraphicsPath fill(draw::kFillAlternate), outline(draw::kFillAlternate);
    AddRoundedRectangle(fill, left + 2, top + 2, w - 4, h - 4, 2);
    AddRoundedRectangle(outline, left + 1, top + 1, w - 3, h - 3, 5);
    draw::LinearGradientBrush tint({left, top}, {left, top + h * 0.95f}, ToArgb(0xFFFFFF, tintAlpha_),
                                   ToArgb(tintColour_, tintAlpha_), draw::kWrapTileFlipXY);
    graphics.FillPath(tint, fill);
    draw::Pen pen(ToArgb(0, 50), 1);
    graphics.DrawPath(pen, outline);
  }
  if (!item.text.empty()) {
    draw::FontFamily family = FamilyFor("宋体");
    // 12 pixels, as the caption's: five characters then fit a 70-pixel tab on one line.
    draw::Font font(family, 12, 0, draw::kUnitPixel);
    draw::StringFormat format(0);
    format.SetAlignment(draw::kAlignCenter);
    format.SetLineAlignment(draw::kAlignCenter);
    draw::SolidBrush ink(ToArgb(item.textColour, 255));
    if (font) graphics.DrawString(std::string_view(item.text), font, {left, top, w, h}, &format, ink);
  }
}

void TabStrip::CopyToScreen(HDC dc, const RECT& area) const {
  if (!cache_) return;
  BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, cache_->dc.Get(), area.left, area.top,
         SRCCOPY);
}

void TabStrip::RedrawTab(int index) {
  TabItem* item = Item(index);
  if (!item) return;
  if (needsFullDraw_ || !cache_) {
    // Nothing to draw one tab into yet: the next paint draws them all.
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  DrawTab(*item);
  WindowDc dc(hwnd_);
  if (dc.Get()) CopyToScreen(dc.Get(), ToRect(item->rect));
}

LRESULT TabStrip::Message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC old = oldProc_;
  auto passOn = [&] { return old ? CallWindowProcA(old, hwnd, message, wParam, lParam) : DefWindowProcA(hwnd, message, wParam, lParam); };
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));

  switch (message) {
    case WM_MOVE: {
      FullDraw();
      WindowDc dc(hwnd);
      RECT client{};
      GetClientRect(hwnd, &client);
      if (dc.Get()) CopyToScreen(dc.Get(), client);
      return passOn();
    }
    case WM_SIZE:
      needsFullDraw_ = true;
      if (TabItem* hot = Item(hotItem_)) hot->hot = false;
      hotItem_ = 0;
      return passOn();
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(hwnd, &paint);
      if (needsFullDraw_ || !cache_) FullDraw();
      RECT client{};
      GetClientRect(hwnd, &client);
      CopyToScreen(dc, client);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return 1;
    case WM_NCHITTEST:
      // A static label would let the mouse through to its parent.
      return HTCLIENT;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
      TrackMouseEvent(&track);
      mouseItem_ = layout_.HitTest(x, y);
      if (mouseItem_ >= 1 && mouseItem_ != hotItem_) {
        const int previous = hotItem_;
        if (TabItem* old = Item(previous)) old->hot = false;
        RedrawTab(previous);
        Item(mouseItem_)->hot = true;
        hotItem_ = mouseItem_;
        RedrawTab(hotItem_);
      } else if (mouseItem_ == 0 && hotItem_ != 0) {
        const int previous = hotItem_;
        if (TabItem* old = Item(previous)) old->hot = false;
        hotItem_ = 0;
        RedrawTab(previous);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (clickable_ && mouseItem_ >= 1 && mouseItem_ != selectedItem_ && Item(mouseItem_)) {
        const int previous = selectedItem_;
        if (TabItem* old = Item(previous)) old->selected = false;
        RedrawTab(previous);
        TabItem* chosen = Item(mouseItem_);
        chosen->selected = chosen->pressed = true;
        selectedItem_ = mouseItem_;
        RedrawTab(selectedItem_);
        // Copied: the handler may attach the strip anew.
        if (auto handler = onSelect_) handler(selectedItem_);
      }
      return 0;
    case WM_LBUTTONUP:
      if (TabItem* item = Item(mouseItem_)) {
        item->pressed = false;
        RedrawTab(mouseItem_);
      }
      return 0;
    case WM_MOUSELEAVE:
      ReleaseCapture();
      mouseItem_ = 0;
      if (TabItem* hot = Item(hotItem_)) {
        hot->hot = false;
        const int previous = hotItem_;
        hotItem_ = 0;
        RedrawTab(previous);
      }
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = passOn();
      Detach();
      return result;
    }
    default:
      return passOn();
  }
}

LRESULT CALLBACK TabStripProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* strip = static_cast<TabStrip*>(GetPropA(hwnd, kStripProperty));
  if (!strip) return DefWindowProcA(hwnd, message, wParam, lParam);
  return strip->Message(hwnd, message, wParam, lParam);
}

}  // namespace skin
