// Label: painted by the runtime itself: optional gradient frame, a picture, gradient or plain
// background, then the caption with its alignment and text effect.

#include "controls/frame_rules.h"
#include "controls/gradient.h"
#include "controls/gradient_paint.h"
#include "controls/picture.h"
#include "controls/picture_fit.h"
#include "controls/value_rules.h"
#include "controls/win_support.h"

namespace controls {
namespace {

using enum forms::LabelData::Setting;

// Where each kind property (index + 8) sits in the stored settings.
int SettingOf(int property) {
  switch (property) {
    case 9: return kTextEffect;
    case 11: return kFrameWidth;
    case 10: return kBorderStyle;
    case 12: return kFrameColour1;
    case 13: return kFrameColour2;
    case 14: return kFrameColour3;
    case 16: return kTextColor;
    case 17: return kBackColor;
    case 19: return kPictureMode;
    case 20: return kGradientMode;
    case 21: return kGradientColour1;
    case 22: return kGradientColour2;
    case 23: return kGradientColour3;
    case 24: return kHAlign;
    case 26: return kVAlign;
    case 25: return kWordWrap;
    default: return -1;
  }
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.Get());
}

class Label final : public ChildControl, public Painter {
 public:
  Label(HWND window, forms::LabelData data) : ChildControl(window), data_(std::move(data)) {
    data_.settings[kFrameWidth] = LabelFrameWidth(data_.settings[kFrameWidth]);
    textFont_ = UnitFont(data_.font);
    picture_ = DecodePicture(data_.picture);
  }
  ~Label() override { SetPainter(window_, nullptr); }

  void Finish() {
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
    ApplyBorderStyle(window_, data_.BorderStyle());
    SetPainter(window_, this);
  }

  void Paint(HDC dc, const RECT& update) override {
    RECT rect;
    GetClientRect(window_, &rect);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, update.left, update.top, update.right, update.bottom);
    const auto width = static_cast<int>(data_.settings[kFrameWidth]);
    if (data_.BorderStyle() == 6 && width > 0) {
      const std::vector<std::uint32_t> colours =
          SetColours(data_.settings[kFrameColour1], data_.settings[kFrameColour2], data_.settings[kFrameColour3]);
      if (colours.size() >= 2) {
        for (int i = 0; i < width; ++i) {
          const RECT ring{rect.left + i, rect.top + i, rect.right - i, rect.bottom - i};
          // The rings run from the first colour outside to the last inside.
          GdiObject<HBRUSH> brush(CreateSolidBrush(GradientColour(1, 1, width, 0, i, colours)));
          FrameRect(dc, &ring, brush.Get());
        }
        InflateRect(&rect, -width, -width);
      }
    }
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);

    const std::uint32_t gradientMode = data_.settings[kGradientMode];
    const std::vector<std::uint32_t> gradient =
        SetColours(data_.settings[kGradientColour1], data_.settings[kGradientColour2], data_.settings[kGradientColour3]);
    if (picture_) {
      Fill(dc, rect, ShownColour(data_.BackColor()));
      const SIZE size = picture_->Size();
      const PlacedRect at =
          PlacePicture(data_.settings[kPictureMode], rect.right - rect.left, rect.bottom - rect.top, size.cx, size.cy);
      const RECT target{rect.left + at.left, rect.top + at.top, rect.left + at.left + at.width, rect.top + at.top + at.height};
      picture_->Draw(dc, target);
    } else if (gradientMode >= 1 && gradientMode <= 8 && gradient.size() >= 2) {
      PaintGradient(dc, rect, rect, static_cast<int>(gradientMode), gradient);
    } else {
      Fill(dc, rect, ShownColour(data_.BackColor()));
    }

    const std::string caption = WindowText(window_);
    if (!caption.empty()) {
      HGDIOBJ oldFont = SelectObject(dc, textFont_.Get());
      SetBkMode(dc, TRANSPARENT);
      UINT flags = DT_NOCLIP;
      const std::uint32_t hAlign = data_.settings[kHAlign];
      flags |= hAlign == 1 ? DT_CENTER : hAlign == 2 ? DT_RIGHT : DT_LEFT;
      if (data_.settings[kWordWrap] == 1) {
        flags |= DT_WORDBREAK | DT_VCENTER;
      } else {
        const std::uint32_t vAlign = data_.settings[kVAlign];
        flags |= DT_SINGLELINE | (vAlign == 1 ? DT_VCENTER : vAlign == 2 ? DT_BOTTOM : DT_TOP);
      }
      for (const TextPass& pass : TextPasses(data_.settings[kTextEffect], data_.TextColor())) {
        RECT place = rect;
        OffsetRect(&place, pass.dx, pass.dy);
        SetTextColor(dc, pass.colour & 0xFFFFFF);
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &place, flags);
      }
      SelectObject(dc, oldFont);
    }
    RestoreDC(dc, saved);
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    const int property = kindIndex + 8;
    if (const int at = SettingOf(property); at >= 0) {
      const std::uint32_t stored = data_.settings[static_cast<std::size_t>(at)];
      value = property == 25 ? BoolValue(stored == 1) : IntegerValue(static_cast<std::int32_t>(stored));
      return true;
    }
    switch (property) {
      case 8: value = TextResult(WindowText(window_)); return true;
      case 15: value = FontResult(data_.font); return true;
      case 18: value = BytesResult(data_.picture); return true;
      case 27: value = TextResult(data_.property27); return true;
      case 28: value = TextResult(data_.property28); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    const int property = kindIndex + 8;
    if (const int at = SettingOf(property); at >= 0) {
      data_.settings[static_cast<std::size_t>(at)] = property == 11 ? LabelFrameWidth(value.low) : value.low;
      if (property == 10) ApplyBorderStyle(window_, data_.BorderStyle());
    } else {
      switch (property) {
        case 8:
          data_.caption = TextOf(value);
          SetWindowTextA(window_, data_.caption.c_str());
          break;
        case 15:
          data_.font = FontOf(value);
          textFont_ = UnitFont(data_.font);
          SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
          break;
        case 18:
          data_.picture = BytesOf(value);
          picture_ = DecodePicture(data_.picture);
          break;
        case 27: data_.property27 = TextOf(value); break;
        case 28: data_.property28 = TextOf(value); break;
        default: return WriteOutcome::Unknown;
      }
    }
    InvalidateRect(window_, nullptr, FALSE);
    return WriteOutcome::Done;
  }

  std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != kFeedbackMessage) return std::nullopt;
    return KindEvent{0, 2, {static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam)}};
  }

  forms::KindData CurrentData() const override {
    forms::LabelData data = data_;
    data.caption = WindowText(window_);
    return data;
  }

 private:
  forms::LabelData data_;
  UnitFont textFont_;
  std::unique_ptr<Picture> picture_;
};

}  // namespace

std::unique_ptr<UnitControl> CreateLabel(const UnitCreateContext& context) {
  if (!RegisterPaintedClass()) return nullptr;
  forms::LabelData data = DataOf<forms::LabelData>(context);
  HWND window = CreateChild(kPaintedClass, data.caption.c_str(), 0, context);
  if (!window) return nullptr;
  auto label = std::make_unique<Label>(window, std::move(data));
  label->Finish();
  return label;
}

}  // namespace controls
