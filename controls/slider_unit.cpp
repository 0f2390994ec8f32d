// SliderBar: a trackbar over the ordered range. Position keeps what was written (0..32767) or
// what the last scroll notification showed; the trackbar shows it limited to the range.
#include <windows.h>
#include <commctrl.h>

#include "controls/value_rules.h"
#include "controls/win_support.h"

namespace controls {
namespace {

constexpr int kBorder = 0;
constexpr int kOrientation = 1;
constexpr int kTickMarks = 2;
constexpr int kTickFrequency = 3;
constexpr int kSelectionShown = 4;
constexpr int kSelectionStart = 5;
constexpr int kSelectionLength = 6;
constexpr int kPageSize = 7;
constexpr int kLineSize = 8;
constexpr int kMinimum = 9;
constexpr int kMaximum = 10;
constexpr int kPosition = 11;

class Slider final : public ChildControl {
 public:
  Slider(HWND window, forms::SliderBarData data) : ChildControl(window), data_(data) {
    position_ = StoredSliderPosition(static_cast<std::int32_t>(data_.position));
  }

  static DWORD Style(const forms::SliderBarData& data) {
    DWORD style = TBS_AUTOTICKS | (data.orientation == 1 ? TBS_VERT : TBS_HORZ);
    if (data.tickMarks == 0) style |= TBS_NOTICKS;
    if (data.tickMarks == 1) style |= TBS_TOP;  // TBS_LEFT for a vertical one
    if (data.tickMarks == 3) style |= TBS_BOTH;
    if (data.selectionShown == 1) style |= TBS_ENABLESELRANGE;
    return style;
  }

  void Apply() {
    const SliderRange range = Range();
    SendMessageA(window_, TBM_SETRANGEMIN, FALSE, range.low);
    SendMessageA(window_, TBM_SETRANGEMAX, FALSE, range.high);
    SendMessageA(window_, TBM_SETLINESIZE, 0, LimitToSpan(static_cast<std::int32_t>(data_.lineSize), range));
    SendMessageA(window_, TBM_SETPAGESIZE, 0, LimitToSpan(static_cast<std::int32_t>(data_.pageSize), range));
    SendMessageA(window_, TBM_SETTICFREQ, LimitToSpan(static_cast<std::int32_t>(data_.tickFrequency), range), 0);
    if (data_.selectionShown == 1) {
      const auto start = static_cast<std::int32_t>(data_.selectionStart);
      const auto end = static_cast<std::int32_t>(data_.selectionStart + data_.selectionLength);
      SendMessageA(window_, TBM_SETSEL, TRUE, MAKELPARAM(start, end));
    }
    ShowPosition();
    ApplyBorderStyle(window_, data_.borderStyle);
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex == kPosition) {
      value = IntegerValue(position_);
      return true;
    }
    if (kindIndex == kSelectionShown) {
      value = BoolValue(data_.selectionShown == 1);
      return true;
    }
    if (std::uint32_t* field = Field(kindIndex)) {
      value = IntegerValue(static_cast<std::int32_t>(*field));
      return true;
    }
    return false;
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex == kPosition) {
      // TBM_SETPOS sends no scroll notification: nothing is raised.
      position_ = StoredSliderPosition(value.AsInteger());
      ShowPosition();
      return WriteOutcome::Done;
    }
    std::uint32_t* field = Field(kindIndex);
    if (!field) return WriteOutcome::Unknown;
    *field = value.low;
    if (kindIndex == kOrientation || kindIndex == kTickMarks || kindIndex == kSelectionShown) {
      return WriteOutcome::Recreate;
    }
    Apply();
    return WriteOutcome::Done;
  }

  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return std::nullopt;
    if (LOWORD(wParam) == TB_ENDTRACK) return std::nullopt;
    position_ = static_cast<std::int32_t>(SendMessageA(window_, TBM_GETPOS, 0, 0));
    return KindEvent{0};
  }

  forms::KindData CurrentData() const override {
    forms::SliderBarData data = data_;
    data.position = static_cast<std::uint32_t>(position_);
    return data;
  }

 private:
  SliderRange Range() const {
    return OrderedRange(static_cast<std::int32_t>(data_.minimum), static_cast<std::int32_t>(data_.maximum));
  }
  void ShowPosition() { SendMessageA(window_, TBM_SETPOS, TRUE, ClampToRange(position_, Range())); }
  std::uint32_t* Field(int kindIndex) {
    switch (kindIndex) {
      case kBorder: return &data_.borderStyle;
      case kOrientation: return &data_.orientation;
      case kTickMarks: return &data_.tickMarks;
      case kTickFrequency: return &data_.tickFrequency;
      case kSelectionShown: return &data_.selectionShown;
      case kSelectionStart: return &data_.selectionStart;
      case kSelectionLength: return &data_.selectionLength;
      case kPageSize: return &data_.pageSize;
      case kLineSize: return &data_.lineSize;
      case kMinimum: return &data_.minimum;
      case kMaximum: return &data_.maximum;
      default: return nullptr;
    }
  }

  forms::SliderBarData data_;
  std::int32_t position_ = 0;
};

}  // namespace

std::unique_ptr<UnitControl> CreateSlider(const UnitCreateContext& context) {
  const forms::SliderBarData data = DataOf<forms::SliderBarData>(context);
  HWND window = CreateChild(TRACKBAR_CLASSA, "", Slider::Style(data), context);
  if (!window) return nullptr;
  auto slider = std::make_unique<Slider>(window, data);
  slider->Apply();
  return slider;
}

}  // namespace controls
