// DrawPanel: the runtime's painted class over a kept picture.
#include <array>
#include <cstdint>
#include <unordered_map>

#include "controls/drawing_panel.h"
#include "controls/win_support.h"

namespace controls {
namespace {

std::unordered_map<HWND, DrawingPanel*>& Panels() {
  static std::unordered_map<HWND, DrawingPanel*> panels;
  return panels;
}

class DrawingPanelUnit final : public ChildControl, public Painter, public DrawingPanel {
 public:
  explicit DrawingPanelUnit(HWND window) : ChildControl(window) {}
  ~DrawingPanelUnit() override {
    Panels().erase(window_);
    SetPainter(window_, nullptr);
    if (picture_.Get()) SelectObject(dc_.Get(), previous_);
  }

  bool Finish() {
    RECT client;
    GetClientRect(window_, &client);
    size_ = {client.right > 0 ? client.right : 1, client.bottom > 0 ? client.bottom : 1};
    // A 32-bit DIB: the same colours whatever the screen's depth, and readable back.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size_.cx;
    info.bmiHeader.biHeight = -size_.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    picture_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture_.Get() || !dc_.Get()) return false;
    previous_ = SelectObject(dc_.Get(), picture_.Get());
    const RECT all{0, 0, size_.cx, size_.cy};
    GdiObject<HBRUSH> brush(CreateSolidBrush(Background()));
    FillRect(dc_.Get(), &all, brush.Get());
    Panels()[window_] = this;
    SetPainter(window_, this);
    return true;
  }

  void Paint(HDC dc, const RECT& update) override {
    BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, dc_.Get(),
           update.left, update.top, SRCCOPY);
  }

  HWND Window() const override { return window_; }
  HDC Picture() const override { return dc_.Get(); }
  SIZE PictureSize() const override { return size_; }
  COLORREF Background() const override { return ShownColour(0xFF000000); }
  POINT Position() const override { return position_; }
  void MoveTo(POINT position) override { position_ = position; }

  // The kind's seventeen settings are kept as written; none of them changes the drawing.
  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex < 0 || kindIndex >= static_cast<int>(settings_.size())) return false;
    value = IntegerValue(settings_[static_cast<std::size_t>(kindIndex)]);
    return true;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex < 0 || kindIndex >= static_cast<int>(settings_.size())) return WriteOutcome::Unknown;
    settings_[static_cast<std::size_t>(kindIndex)] = static_cast<std::int32_t>(value.low);
    return WriteOutcome::Done;
  }
  forms::KindData CurrentData() const override { return {}; }

 private:
  MemoryDc dc_{nullptr};
  GdiObject<HBITMAP> picture_;
  HGDIOBJ previous_ = nullptr;
  SIZE size_{1, 1};
  POINT position_{0, 0};
  std::array<std::int32_t, 17> settings_{};
};

}  // namespace

DrawingPanel* FindDrawingPanel(HWND window) {
  const auto found = Panels().find(window);
  return found == Panels().end() ? nullptr : found->second;
}

std::unique_ptr<UnitControl> CreateDrawingPanel(const UnitCreateContext& context) {
  if (!RegisterPaintedClass()) return nullptr;
  HWND window = CreateChild(kPaintedClass, "", 0, context);
  if (!window) return nullptr;
  auto panel = std::make_unique<DrawingPanelUnit>(window);
  if (!panel->Finish()) return nullptr;
  return panel;
}

}  // namespace controls
