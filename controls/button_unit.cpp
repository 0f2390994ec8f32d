// Button: a push button with its caption alignment, font and optional picture.
#include <windows.h>
#include <commctrl.h>

#include "controls/picture.h"
#include "controls/win_support.h"

namespace controls {
namespace {

constexpr DWORD kAlignBits = BS_LEFT | BS_RIGHT | BS_CENTER | BS_TOP | BS_BOTTOM | BS_VCENTER;

DWORD HorizontalAlign(std::uint32_t align) { return align == 0 ? BS_LEFT : align == 2 ? BS_RIGHT : BS_CENTER; }
DWORD VerticalAlign(std::uint32_t align) { return align == 0 ? BS_TOP : align == 2 ? BS_BOTTOM : BS_VCENTER; }

class Button final : public ChildControl {
 public:
  Button(HWND window, forms::ButtonData data) : ChildControl(window), data_(std::move(data)) {}

  static DWORD Style(const forms::ButtonData& data, const Picture* picture) {
    DWORD style = BS_MULTILINE | (data.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                  HorizontalAlign(data.hAlign) | VerticalAlign(data.vAlign);
    if (picture) style |= picture->GetType() == Picture::Type::Bitmap ? BS_BITMAP : BS_ICON;
    return style;
  }

  void Finish() {
    SetFont(data_.font);
    ShowPicture();
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    switch (kindIndex) {
      case 0: value = BytesResult(data_.picture); return true;
      case 1: value = IntegerValue(static_cast<std::int32_t>(data_.buttonType)); return true;
      case 2: value = TextResult(WindowText(window_)); return true;
      case 3: value = IntegerValue(static_cast<std::int32_t>(data_.hAlign)); return true;
      case 4: value = IntegerValue(static_cast<std::int32_t>(data_.vAlign)); return true;
      case 5: value = FontResult(data_.font); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    switch (kindIndex) {
      case 0: data_.picture = BytesOf(value); ShowPicture(); break;
      case 1: data_.buttonType = value.low; break;
      case 2:
        data_.caption = TextOf(value);
        SetWindowTextA(window_, data_.caption.c_str());
        InvalidateRect(window_, nullptr, TRUE);
        return WriteOutcome::Done;
      case 3: data_.hAlign = value.low; break;
      case 4: data_.vAlign = value.low; break;
      case 5: SetFont(data_.font = FontOf(value)); return WriteOutcome::Done;
      default: return WriteOutcome::Unknown;
    }
    Restyle();
    return WriteOutcome::Done;
  }

  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) return KindEvent{0};
    return std::nullopt;
  }

  forms::KindData CurrentData() const override {
    forms::ButtonData data = data_;
    data.caption = WindowText(window_);
    return data;
  }

 private:
  void ShowPicture() {
    picture_ = DecodePicture(data_.picture);
    Restyle();
    const WPARAM type = picture_ && picture_->GetType() == Picture::Type::Bitmap ? IMAGE_BITMAP : IMAGE_ICON;
    SendMessageA(window_, BM_SETIMAGE, type, reinterpret_cast<LPARAM>(picture_ ? picture_->ButtonImage() : nullptr));
  }
  // The alignment, the default-button and the picture bits take effect on the live button.
  void Restyle() {
    const LONG_PTR live = GetWindowLongPtrA(window_, GWL_STYLE);
    const LONG_PTR kept = live & ~static_cast<LONG_PTR>(kAlignBits | BS_TYPEMASK | BS_BITMAP | BS_ICON);
    SetWindowLongPtrA(window_, GWL_STYLE, kept | Style(data_, picture_.get()));
    InvalidateRect(window_, nullptr, TRUE);
  }

  forms::ButtonData data_;
  std::unique_ptr<Picture> picture_;
};

class GroupBox final : public ChildControl {
 public:
  GroupBox(HWND window, forms::GroupBoxData data)
      : ChildControl(window), data_(std::move(data)), brush_(CreateSolidBrush(ShownColour(data_.backColor))) {}

  static DWORD Style(const forms::GroupBoxData& data) { return BS_GROUPBOX | HorizontalAlign(data.captionAlignment); }

  ~GroupBox() override { WatchParent(nullptr); }

  void Finish() {
    SetFont(data_.font);
    WatchParent(GetParent(window_));
  }
  // Re-parenting happens after creation.
  void AllUnitsCreated(const UnitLookup&) override { WatchParent(GetParent(window_)); }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    switch (kindIndex) {
      case 0: value = TextResult(WindowText(window_)); return true;
      case 1: value = IntegerValue(static_cast<std::int32_t>(data_.captionAlignment)); return true;
      case 2: value = IntegerValue(static_cast<std::int32_t>(data_.textColor)); return true;
      case 3: value = IntegerValue(static_cast<std::int32_t>(data_.backColor)); return true;
      case 4: value = FontResult(data_.font); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    switch (kindIndex) {
      case 0:
        data_.caption = TextOf(value);
        SetWindowTextA(window_, data_.caption.c_str());
        break;
      case 1: {
        data_.captionAlignment = value.low;
        const LONG_PTR live = GetWindowLongPtrA(window_, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_LEFT | BS_RIGHT | BS_CENTER);
        SetWindowLongPtrA(window_, GWL_STYLE, live | HorizontalAlign(data_.captionAlignment));
        break;
      }
      case 2: data_.textColor = value.low; break;
      case 3:
        data_.backColor = value.low;
        brush_.Reset(CreateSolidBrush(ShownColour(data_.backColor)));
        break;
      case 4: SetFont(data_.font = FontOf(value)); break;
      default: return WriteOutcome::Unknown;
    }
    InvalidateRect(window_, nullptr, TRUE);
    return WriteOutcome::Done;
  }

  forms::KindData CurrentData() const override {
    forms::GroupBoxData data = data_;
    data.caption = WindowText(window_);
    return data;
  }

 private:
  // The group box asks its parent for its brush (WM_CTLCOLORSTATIC); the parent's subclass
  // answers for this box with the stored colours.
  static LRESULT CALLBACK ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR reference) {
    auto* box = reinterpret_cast<GroupBox*>(reference);
    if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) && reinterpret_cast<HWND>(lParam) == box->window_) {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, ShownColour(box->data_.backColor));
      if (box->data_.textColor != forms::kDefaultColour) SetTextColor(dc, box->data_.textColor & 0xFFFFFF);
      return reinterpret_cast<LRESULT>(box->brush_.Get());
    }
    return DefSubclassProc(parent, message, wParam, lParam);
  }
  void WatchParent(HWND parent) {
    if (parent == watched_) return;
    if (watched_ && IsWindow(watched_)) RemoveWindowSubclass(watched_, &GroupBox::ParentProc, SubclassId());
    watched_ = parent;
    if (watched_) SetWindowSubclass(watched_, &GroupBox::ParentProc, SubclassId(), reinterpret_cast<DWORD_PTR>(this));
  }
  UINT_PTR SubclassId() const { return reinterpret_cast<UINT_PTR>(this); }

  forms::GroupBoxData data_;
  GdiObject<HBRUSH> brush_;
  HWND watched_ = nullptr;
};

}  // namespace

std::unique_ptr<UnitControl> CreateButton(const UnitCreateContext& context) {
  forms::ButtonData data = DataOf<forms::ButtonData>(context);
  HWND window = CreateChild("BUTTON", data.caption.c_str(), Button::Style(data, nullptr), context);
  if (!window) return nullptr;
  auto button = std::make_unique<Button>(window, std::move(data));
  button->Finish();
  return button;
}

std::unique_ptr<UnitControl> CreateGroupBox(const UnitCreateContext& context) {
  forms::GroupBoxData data = DataOf<forms::GroupBoxData>(context);
  HWND window = CreateChild("BUTTON", data.caption.c_str(), GroupBox::Style(data), context);
  if (!window) return nullptr;
  auto box = std::make_unique<GroupBox>(window, std::move(data));
  box->Finish();
  return box;
}

}  // namespace controls
