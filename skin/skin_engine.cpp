#include "skin/skin_engine.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "draw/graphics.h"
#include "skin/caption_buttons.h"
#include "skin/colour.h"
#include "skin/panel_painting.h"
#include "skin/rounded_shapes.h"
#include "skin/transparent_label.h"
#include "skin/window_properties.h"

namespace skin {
namespace {

SkinEngine* current = nullptr;

// Opaque average of 2,000 pixels at random places; 0 when the bytes are no picture.
std::uint32_t AverageColour(runtime::ByteSetRef picture) {
  if (picture.empty()) return 0;
  draw::Bitmap bitmap;
  if (!bitmap.CreateFromBytes(picture.span())) return 0;
  const int width = static_cast<int>(bitmap.Width()), height = static_cast<int>(bitmap.Height());
  if (width <= 0 || height <= 0) return 0;
  std::minstd_rand random(0x5EED);
  std::uniform_int_distribution<int> xs(0, width - 1), ys(0, height - 1);
  std::uint64_t red = 0, green = 0, blue = 0;
  int count = 0;
  for (int i = 0; i < 2000; ++i) {
    draw::Argb pixel = 0;
    if (!bitmap.GetPixel(xs(random), ys(random), pixel)) continue;
    red += (pixel >> 16) & 0xFF;
    green += (pixel >> 8) & 0xFF;
    blue += pixel & 0xFF;
    ++count;
  }
  if (count == 0) return 0;
  return 0xFF000000u | static_cast<std::uint32_t>(red / count) << 16 | static_cast<std::uint32_t>(green / count) << 8 |
         static_cast<std::uint32_t>(blue / count);
}

WNDPROC Subclass(HWND hwnd, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

bool IsGroupBox(HWND hwnd) {
  char name[16] = {};
  GetClassNameA(hwnd, name, sizeof name);
  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  // The type bits, not just bit 2: 0xB (owner-drawn) has bit 2 set too.
  return lstrcmpiA(name, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
}

HWND NearestContainer(HWND hwnd) {
  for (HWND up = GetParent(hwnd); up; up = GetParent(up)) {
    if (props::Get(up, props::kIsContainer) == 1) return up;
  }
  return nullptr;
}

}  // namespace

HICON LoadCaptionIcon(HMODULE module) {
  HICON icon = LoadIconA(module, MAKEINTRESOURCEA(129));
  if (!icon) icon = LoadIconA(module, "DEFAULT_ICON");
  return icon;
}

SkinEngine::SkinEngine() {
  settings_.captionIcon = LoadCaptionIcon(GetModuleHandleA(nullptr));
  settings_.defaultFill = GetSysColor(COLOR_BTNFACE);
  current = this;
}

SkinEngine::~SkinEngine() {
  if (current == this) current = nullptr;
  registry_.Clear();
}

SkinEngine* SkinEngine::Current() { return current; }

void SkinEngine::SetCaptionHandlers(std::function<void(HWND)> help, std::function<void(HWND)> menu) {
  helpHandler_ = std::move(help);
  menuHandler_ = std::move(menu);
}

void SkinEngine::AttachFrame(HWND hwnd, std::optional<int> captionHeight, std::optional<bool> captionButtonsActive,
                             std::optional<bool> dblClickMaximizes, std::optional<bool> showHelp,
                             std::optional<bool> showMenu, std::optional<bool> showCaptionText,
                             std::optional<bool> captionGloss, int extraItemCount, const void* extraItems,
                             runtime::ByteSetRef picture, std::optional<int> pictureMode) {
  // Extra caption items serve features this program does not have.
  (void)extraItemCount;
  (void)extraItems;
  if (!IsWindow(hwnd) || registry_.IndexOf(hwnd) != 0) return;

  const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  RECT client{};
  GetClientRect(hwnd, &client);

  auto window = std::make_unique<SkinnedWindow>();
  window->hwnd = hwnd;
  window->captionHeight = std::max(captionHeight.value_or(25), 25);
  window->captionButtonsActive = captionButtonsActive.value_or(true);
  window->dblClickMaximizes = dblClickMaximizes.value_or(true);
  window->showHelp = showHelp.value_or(false);
  window->showMenu = showMenu.value_or(false);
  window->showCaptionText = showCaptionText.value_or(true);
  window->captionGloss = captionGloss.value_or(false);
  window->hasMinimize = (style & WS_MINIMIZEBOX) != 0;
  window->hasMaximize = (style & WS_MAXIMIZEBOX) != 0;
  window->pictureMode = pictureMode.value_or(settings_.defaultPictureMode);
  if (!picture.empty()) window->picture = runtime::ByteSet(picture.span());
  window->averageColour = AverageColour(window->picture);
  window->maxTrackWidth = GetSystemMetrics(SM_CXSCREEN);
  window->maxTrackHeight = GetSystemMetrics(SM_CYSCREEN);
  window->captionButtons = MakeCaptionButtons(*window);
  window->strip = LayoutCaptionStrip(client.right, CaptionButtonWidths(*window));

  SetWindowLongPtrA(hwnd, GWL_STYLE, style | WS_SYSMENU);
  const std::size_t index = registry_.Append(std::move(window));
  SkinnedWindow& record = *registry_.At(index);
  LayoutCaption(record);

  AttachChildren(index, hwnd);

  record.oldProc = Subclass(hwnd, &FrameProcedure);
  props::Set(hwnd, props::kOldProc, reinterpret_cast<std::intptr_t>(record.oldProc));
  props::Set(hwnd, props::kIndex, static_cast<std::intptr_t>(index));
  // A window that is already on screen gets its look at the next paint.
  if (IsWindowVisible(hwnd)) InvalidateRect(hwnd, nullptr, FALSE);
}

void SkinEngine::AttachChildren(std::size_t registryIndex, HWND parent) {
  if (!settings_.skinChildren) return;
  SkinnedWindow* window = registry_.At(registryIndex);
  if (!window) return;
  for (const ChildKind& kind : childKinds_) {
    auto& records = window->Kind(kind.array);
    for (HWND child = FindWindowExA(parent, nullptr, kind.windowClass, nullptr); child;
         child = FindWindowExA(parent, child, kind.windowClass, nullptr)) {
      if (kind.accepts && !kind.accepts(child, GetWindowLongPtrA(child, GWL_STYLE))) continue;
      bool known = false;
      for (const auto& record : records) known = known || record->hwnd == child;
      if (known) continue;
      auto record = kind.makeRecord ? kind.makeRecord() : std::make_unique<ControlRecord>();
      record->hwnd = child;
      records.push_back(std::move(record));
      ControlRecord& added = *records.back();
      added.oldProc = Subclass(child, kind.procedure);
      props::Set(child, props::kOldProc, reinterpret_cast<std::intptr_t>(added.oldProc));
      props::Set(child, props::kIndex, static_cast<std::intptr_t>(records.size()));
      props::Set(child, props::kOwner, static_cast<std::intptr_t>(registryIndex));
      if (kind.attached) kind.attached(child, added);
    }
  }
}

void SkinEngine::AttachPanel(HWND hwnd, std::optional<bool> cornerFlag, COLORREF colour, std::optional<int> alpha,
                             std::optional<int> spare) {
  if (!settings_.skinChildren || !IsWindow(hwnd)) return;
  const std::size_t index = registry_.OwningIndex(hwnd);
  SkinnedWindow* window = registry_.At(index);
  if (!window) return;
  auto& panels = window->Kind(ControlKind::kPanels);
  for (const auto& record : panels) {
    if (record->hwnd == hwnd) return;
  }

  auto panel = std::make_unique<PanelRecord>();
  panel->hwnd = hwnd;
  panel->tint = colour;
  panel->alpha = alpha.value_or(255);
  panel->spare = spare.value_or(0);
  panel->cornerFlag = cornerFlag.value_or(true);
  if (IsGroupBox(hwnd)) {
    panel->isGroupBox = true;
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    panel->caption = text;
    LOGFONTA logfont{};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (font && GetObjectA(font, sizeof logfont, &logfont)) {
      panel->fontFace = logfont.lfFaceName;
      WindowDc screen(nullptr);
      const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
      const int points = logfont.lfHeight ? MulDiv(std::abs(logfont.lfHeight), 72, dpi > 0 ? dpi : 96) : 0;
      panel->fontSize = points > 0 ? points : 12;
      panel->fontStyle = (logfont.lfWeight >= FW_BOLD ? 1 : 0) | (logfont.lfItalic ? 2 : 0);
    }
  }
  panels.push_back(std::move(panel));
  PanelRecord& added = static_cast<PanelRecord&>(*panels.back());
  const std::size_t panelIndex = panels.size();

  AttachChildren(index, hwnd);

  added.oldProc = Subclass(hwnd, &PanelProcedure);
  props::Set(hwnd, props::kOldProc, reinterpret_cast<std::intptr_t>(added.oldProc));
  props::Set(hwnd, props::kIndex, static_cast<std::intptr_t>(panelIndex));
  props::Set(hwnd, props::kOwner, static_cast<std::intptr_t>(index));
  props::Set(hwnd, props::kContainer, reinterpret_cast<std::intptr_t>(NearestContainer(hwnd)));
}

void SkinEngine::AttachTransparentLabel(HWND hwnd, std::optional<COLORREF> keyColour) {
  if (!settings_.skinChildren || !IsWindow(hwnd)) return;
  const std::size_t index = registry_.OwningIndex(hwnd);
  SkinnedWindow* window = registry_.At(index);
  if (!window) return;
  auto& labels = window->Kind(ControlKind::kTransparentLabels);
  for (const auto& record : labels) {
    if (record->hwnd == hwnd) return;
  }
  auto label = std::make_unique<LabelRecord>();
  label->hwnd = hwnd;
  label->keyColour = keyColour.value_or(GetSysColor(COLOR_BTNFACE));
  labels.push_back(std::move(label));
  LabelRecord& added = static_cast<LabelRecord&>(*labels.back());
  added.oldProc = Subclass(hwnd, &LabelProcedure);
  props::Set(hwnd, props::kLabelIndex, static_cast<std::intptr_t>(labels.size()));
  props::Set(hwnd, props::kLabelOwner, static_cast<std::intptr_t>(index));
  props::Set(hwnd, props::kLabelOldProc, reinterpret_cast<std::intptr_t>(added.oldProc));
  // The key colour is read from the record in the list: the one made above has been moved there.
  if (HWND child = GetWindow(hwnd, GW_CHILD)) AttachPanel(child, {}, added.keyColour);
}

SkinnedWindow* SkinEngine::WindowOf(HWND hwnd) const {
  SkinnedWindow* window = registry_.At(static_cast<std::size_t>(props::Get(hwnd, props::kIndex)));
  return window && window->hwnd == hwnd ? window : nullptr;
}

SkinnedWindow* SkinEngine::OwnerOf(HWND control) const {
  std::intptr_t owner = props::Get(control, props::kOwner);
  if (owner == 0) owner = props::Get(control, props::kLabelOwner);
  return registry_.At(static_cast<std::size_t>(owner));
}

ControlRecord* SkinEngine::RecordOf(HWND control, ControlKind kind) const { return AttachmentOf(control, kind).record; }

SkinEngine::Attachment SkinEngine::AttachmentOf(HWND control, ControlKind kind) const {
  Attachment found;
  found.window = OwnerOf(control);
  if (!found.window) return found;
  const bool label = kind == ControlKind::kTransparentLabels;
  found.index = static_cast<int>(props::Get(control, label ? props::kLabelIndex : props::kIndex));
  auto& records = found.window->Kind(kind);
  if (found.index < 1 || static_cast<std::size_t>(found.index) > records.size()) return found;
  ControlRecord* record = records[static_cast<std::size_t>(found.index) - 1].get();
  if (record->hwnd == control) found.record = record;
  return found;
}

SurfaceStamp SkinEngine::StampOf(const SkinnedWindow& window, HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  POINT at{0, 0};
  MapWindowPoints(control, window.hwnd, &at, 1);
  return SurfaceStamp{window.backgroundVersion, at.x, at.y, client.right, client.bottom};
}

namespace {

// The marked container around the control whose layer stands in for the window's background.
HWND ContainerWithLayer(HWND control, HWND top) {
  for (HWND up = control; up && up != top; up = GetParent(up)) {
    const auto container = reinterpret_cast<HWND>(props::Get(up, props::kContainer));
    if (container && props::Get(container, props::kContainerLayer)) return container;
  }
  return nullptr;
}

// A part of a kept layer as a surface of its own, to draw on.
std::unique_ptr<OffscreenSurface> CopyOf(const OffscreenSurface& layer, POINT from, int width, int height) {
  auto surface = std::make_unique<OffscreenSurface>(width, height);
  if (!surface->bits) return nullptr;
  BitBlt(surface->dc.Get(), 0, 0, width, height, layer.dc.Get(), from.x, from.y, SRCCOPY);
  return surface;
}

}  // namespace

const OffscreenSurface* SkinEngine::PanelLayer(const SkinnedWindow& window, PanelRecord& panel) const {
  const SurfaceStamp stamp = StampOf(window, panel.hwnd);
  if (!panel.layer || panel.layerStamp != stamp) {
    panel.layer = BackgroundBehind(panel.hwnd, false, &window);
    panel.layerStamp = stamp;
  }
  return panel.layer.get();
}

std::unique_ptr<OffscreenSurface> SkinEngine::BackgroundBehind(HWND control, bool wholeWindow,
                                                           const SkinnedWindow* owner) const {
  const SkinnedWindow* window = OwnerOf(control);
  if (!window) window = owner;
  if (!window || !window->backgroundDc) return nullptr;
  // Inside a tinted panel (or a panel itself) the panel's kept layer holds the background and
  // every tint down to the panel's: a copy of it saves laying them again at each paint.
  if (!wholeWindow && !ContainerWithLayer(control, window->hwnd)) {
    for (HWND up = control; up && up != window->hwnd; up = GetParent(up)) {
      auto* panel = static_cast<PanelRecord*>(RecordOf(up, ControlKind::kPanels));
      if (!panel) continue;
      if (up == control) {
        // A panel's own layer, while it holds; otherwise it is drawn the long way.
        if (!panel->layer || panel->layerStamp != StampOf(*window, up)) break;
        return CopyOf(*panel->layer, POINT{0, 0}, panel->layer->width, panel->layer->height);
      }
      const OffscreenSurface* layer = PanelLayer(*window, *panel);
      if (!layer) break;
      RECT rect{};
      GetClientRect(control, &rect);
      POINT offset{0, 0};
      MapWindowPoints(control, up, &offset, 1);
      return CopyOf(*layer, offset, rect.right, rect.bottom);
    }
  }
  return ComposeBehind(*window, control, wholeWindow);
}

std::unique_ptr<OffscreenSurface> SkinEngine::ComposeBehind(const SkinnedWindow& window, HWND control,
                                                        bool wholeWindow) const {
  RECT rect{};
  RECT outer{};
  GetWindowRect(control, &outer);
  if (wholeWindow) {
    rect = RECT{0, 0, outer.right - outer.left, outer.bottom - outer.top};
  } else {
    GetClientRect(control, &rect);
  }
  auto surface = std::make_unique<OffscreenSurface>(rect.right, rect.bottom);
  if (!surface->bits) return nullptr;

  // A panel inside a marked container takes that container's layer as its source.
  HDC source = window.backgroundDc.Get();
  HWND origin = window.hwnd;
  if (HWND container = ContainerWithLayer(control, window.hwnd)) {
    source = reinterpret_cast<HDC>(props::Get(container, props::kContainerLayer));
    origin = container;
  }
  POINT offset{0, 0};
  if (wholeWindow) {
    offset = POINT{outer.left, outer.top};
    ScreenToClient(origin, &offset);
  } else {
    MapWindowPoints(control, origin, &offset, 1);
  }
  BitBlt(surface->dc.Get(), 0, 0, rect.right, rect.bottom, source, offset.x, offset.y, SRCCOPY);

  // A tinted panel lies under everything inside it as well as under itself: without its tint a
  // control's rounded corners would show the raw background. Outermost panel first.
  std::vector<HWND> below;
  for (HWND up = control; up && up != origin && up != window.hwnd; up = GetParent(up)) below.push_back(up);
  std::optional<draw::Graphics> graphics;
  for (auto layer = below.rbegin(); layer != below.rend(); ++layer) {
    auto* panel = static_cast<PanelRecord*>(RecordOf(*layer, ControlKind::kPanels));
    if (!panel) continue;
    // The panel's client rectangle in the surface's coordinates.
    RECT area{};
    GetClientRect(*layer, &area);
    POINT at{0, 0};
    if (*layer != control) {
      if (wholeWindow) {
        at = POINT{outer.left, outer.top};
        ScreenToClient(*layer, &at);
      } else {
        MapWindowPoints(control, *layer, &at, 1);
      }
    }
    const float x = static_cast<float>(-at.x), y = static_cast<float>(-at.y);
    if (!graphics) {
      graphics.emplace(surface->dc.Get());
      graphics->SetSmoothingMode(draw::kSmoothingAntiAlias);
    }
    draw::SolidBrush tint(ToArgb(panel->tint, panel->alpha));
    if (panel->isGroupBox) {
      draw::GraphicsPath shape(draw::kFillAlternate);
      AddRoundedRectangle(shape, x, y + 5, static_cast<float>(area.right), static_cast<float>(area.bottom - 6), 5);
      graphics->FillPath(tint, shape);
    } else {
      graphics->FillRectangle(tint, {x, y, static_cast<float>(area.right), static_cast<float>(area.bottom)});
    }
  }
  return surface;
}

namespace {

BOOL CALLBACK FreeBackground(HWND control, LPARAM) {
  DeleteObject(reinterpret_cast<HGDIOBJ>(props::Get(control, props::kBackgroundBrush)));
  DeleteObject(reinterpret_cast<HGDIOBJ>(props::Get(control, props::kBackgroundBitmap)));
  props::Set(control, props::kBackgroundBrush, 0);
  props::Set(control, props::kBackgroundBitmap, 0);
  return TRUE;
}

}  // namespace

void SkinEngine::FreeChildBackgrounds(SkinnedWindow& window) {
  // Every descendant: the colour answers also go to children without a record (plain labels,
  // read-only fields) and to the children of panels.
  EnumChildWindows(window.hwnd, FreeBackground, 0);
}

void SkinEngine::Cleanup(HWND hwnd) {
  const std::size_t index = registry_.IndexOf(hwnd);
  SkinnedWindow* window = registry_.At(index);
  if (!window) return;
  // The record's DCs select their first bitmaps back and go with it.
  registry_.Remove(index);
  KillTimer(hwnd, reinterpret_cast<UINT_PTR>(hwnd));
}

LRESULT CallStoredProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const char* property) {
  const auto procedure = reinterpret_cast<WNDPROC>(props::Get(hwnd, property));
  if (!procedure) return DefWindowProcA(hwnd, message, wParam, lParam);
  return CallWindowProcA(procedure, hwnd, message, wParam, lParam);
}

LRESULT PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
}

LRESULT CALLBACK FrameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinEngine* engine = SkinEngine::Current();
  if (!engine) return CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
  return engine->FrameMessage(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PanelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinEngine* engine = SkinEngine::Current();
  // Buttons on a panel (a tab page's buttons are the tab control's children) ask it to draw them.
  if (engine && message == WM_DRAWITEM && lParam &&
      engine->ForwardDrawItem(hwnd, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
    return TRUE;
  }
  if (engine && message == WM_PAINT) {
    // The panel paints itself whole: a tab control's own tabs never show.
    PaintScope paint(hwnd);
    if (PaintPanel(*engine, hwnd, paint.Get())) return 0;
  }
  if (engine && (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORLISTBOX) &&
      lParam && engine->Settings().skinChildren && engine->Settings().textFields) {
    if (SkinnedWindow* owner = engine->OwnerOf(hwnd)) {
      return engine->TransparentColours(*owner, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    }
  }
  if (engine && message == WM_MOVE) InvalidateRect(hwnd, nullptr, FALSE);
  if (engine && message == WM_SHOWWINDOW) {
    const LRESULT result = CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
    if (wParam) {
      WindowDc dc(hwnd);
      if (dc.Get()) PaintPanel(*engine, hwnd, dc.Get());
    }
    return result;
  }
  if (engine && message == WM_ERASEBKGND && engine->RecordOf(hwnd, ControlKind::kPanels)) {
    // Nothing to erase: the paint that follows covers the whole panel. (Painting here too cost a
    // whole panel for every button a page switch hides.)
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return 1;
  }
  return CallStoredProcedure(hwnd, message, wParam, lParam, props::kOldProc);
}

}  // namespace skin
