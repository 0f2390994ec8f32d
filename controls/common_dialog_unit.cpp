// CommonDlg: no window of its own; it keeps its settings for the command that opens the dialog,
// which also writes the confirmed path back as FileName.
#include "controls/win_support.h"
#include "forms/kinds.h"

namespace controls {
namespace {

// Where each property (kind index + 8) sits: numbers first, then texts.
int NumberOf(int property) {
  constexpr int kNumbers[] = {8, 12, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 26, 28, 29};
  for (int i = 0; i < static_cast<int>(std::size(kNumbers)); ++i) {
    if (kNumbers[i] == property) return i;
  }
  return -1;
}
int TextOfProperty(int property) {
  constexpr int kTexts[] = {9, 10, 11, 13, 14, 25, 27};
  for (int i = 0; i < static_cast<int>(std::size(kTexts)); ++i) {
    if (kTexts[i] == property) return i;
  }
  return -1;
}

class CommonDialog final : public UnitControl {
 public:
  explicit CommonDialog(forms::CommonDlgData data) : data_(std::move(data)) {}
  HWND Handle() const override { return nullptr; }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    const int property = kindIndex + 8;
    if (const int at = NumberOf(property); at >= 0) {
      const std::uint32_t stored = data_.settings[static_cast<std::size_t>(at)];
      value = IsBool(kindIndex) ? BoolValue(stored == 1) : IntegerValue(static_cast<std::int32_t>(stored));
      return true;
    }
    if (const int at = TextOfProperty(property); at >= 0) {
      value = TextResult(data_.texts[static_cast<std::size_t>(at)]);
      return true;
    }
    return false;
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    const int property = kindIndex + 8;
    if (const int at = NumberOf(property); at >= 0) {
      data_.settings[static_cast<std::size_t>(at)] = value.low;
      return WriteOutcome::Done;
    }
    if (const int at = TextOfProperty(property); at >= 0) {
      data_.texts[static_cast<std::size_t>(at)] = TextOf(value);
      return WriteOutcome::Done;
    }
    return WriteOutcome::Unknown;
  }

  std::optional<KindEvent> FromNotification(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  std::optional<KindEvent> FromOwnMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
  bool ClaimsKey(UINT) override { return false; }
  void AllUnitsCreated(const UnitLookup&) override {}
  forms::KindData CurrentData() const override { return data_; }

 private:
  static bool IsBool(int kindIndex) {
    const forms::KindDescription* kind = forms::FindKind(forms::kind_ids::kCommonDlg);
    const auto at = static_cast<std::size_t>(kindIndex + 8);
    return kind && at < kind->properties.size() && kind->properties[at].type == forms::PropertyType::Bool;
  }

  forms::CommonDlgData data_;
};

}  // namespace

std::unique_ptr<UnitControl> CreateCommonDialog(const UnitCreateContext& context) {
  return std::make_unique<CommonDialog>(DataOf<forms::CommonDlgData>(context));
}

}  // namespace controls
