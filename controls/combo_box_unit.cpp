// ComboBox: the platform combo box with the stored type, items and selection. The user's
// selection is raised only once it has settled, from a message the box posts to itself.
#include <cstring>

#include "controls/value_rules.h"
#include "controls/win_support.h"

namespace controls {
namespace {

// Kind indices (property - 8): the settings this control applies are at their own index in the
// stored settings (forms::ComboBoxData::Setting); the others follow.
using enum forms::ComboBoxData::Setting;
constexpr int kItemValues = 9;   // bytes1: one u32 per item
constexpr int kFont = 10;        // bytes2: a LOGFONT, empty for the default font
constexpr int kCurrentIndex = 11;
constexpr int kEditText = 12;
constexpr int kItems = 13;       // the items as lines

forms::FontValue StoredFont(const forms::ByteValue& bytes) {
  const runtime::Value cell = BytesResult(bytes);
  return FontOf(cell.cell());
}

class ComboBox final : public ChildControl {
 public:
  ComboBox(HWND window, forms::ComboBoxData data) : ChildControl(window), data_(std::move(data)) {}

  static DWORD Style(const forms::ComboBoxData& data) {
    const std::uint32_t type = data.ComboType();
    DWORD style = WS_VSCROLL | CBS_AUTOHSCROLL | (type == 0 ? CBS_SIMPLE : type == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    if (data.settings[kSorted] == 1) style |= CBS_SORT;
    return style;
  }

  void Finish() {
    SetFont(StoredFont(data_.bytes2));
    if (data_.settings[kExtraItemHeight] != 0) {
      const LRESULT height = SendMessageA(window_, CB_GETITEMHEIGHT, 0, 0);
      if (height != CB_ERR) {
        SendMessageA(window_, CB_SETITEMHEIGHT, 0, height + static_cast<std::int32_t>(data_.settings[kExtraItemHeight]));
      }
    }
    SendMessageA(window_, CB_LIMITTEXT, data_.settings[kTextLimit], 0);
    FillItems();
    Select(static_cast<std::int32_t>(data_.settings[kStoredIndex]));
    if (data_.ComboType() != 2) {
      SetWindowTextA(window_, data_.text.c_str());
      SendMessageA(window_, CB_SETEDITSEL, 0,
                   MAKELPARAM(data_.settings[kSelectionStart],
                              data_.settings[kSelectionStart] + data_.settings[kSelectionLength]));
    }
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex == kCurrentIndex) {
      value = IntegerValue(static_cast<std::int32_t>(SendMessageA(window_, CB_GETCURSEL, 0, 0)));
      return true;
    }
    if (kindIndex == kEditText) {
      value = TextResult(WindowText(window_));
      return true;
    }
    if (kindIndex == kItems) {
      value = TextResult(JoinedItems());
      return true;
    }
    if (kindIndex >= 0 && kindIndex < 9) {
      value = IntegerValue(static_cast<std::int32_t>(data_.settings[static_cast<std::size_t>(kindIndex)]));
      return true;
    }
    switch (kindIndex) {
      case 9: value = BytesResult(data_.bytes1); return true;
      case 10: value = BytesResult(data_.bytes2); return true;
      case 14: value = TextResult(data_.text2); return true;
      case 15: value = TextResult(data_.text3); return true;
      case 16: value = IntegerValue(static_cast<std::int32_t>(data_.setting3)); return true;
      default: return false;
    }
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex == kCurrentIndex) {
      // Set from code: CB_SETCURSEL sends no notification, so nothing is raised.
      Select(value.AsInteger());
      return WriteOutcome::Done;
    }
    if (kindIndex == kEditText) {
      SetWindowTextA(window_, TextOf(value).c_str());
      return WriteOutcome::Done;
    }
    if (kindIndex == kItems) {
      Capture();
      data_.items = SplitLines(TextOf(value));
      SendMessageA(window_, CB_RESETCONTENT, 0, 0);
      FillItems();
      return WriteOutcome::Done;
    }
    if (kindIndex >= 0 && kindIndex < 9) {
      Capture();
      data_.settings[static_cast<std::size_t>(kindIndex)] = value.low;
      // The type and the sorting are fixed when the box is made.
      return kindIndex == kComboType || kindIndex == kSorted ? WriteOutcome::Recreate : WriteOutcome::Done;
    }
    switch (kindIndex) {
      case kItemValues: data_.bytes1 = BytesOf(value); return WriteOutcome::Done;
      case kFont:
        data_.bytes2 = BytesOf(value);
        SetFont(StoredFont(data_.bytes2));
        return WriteOutcome::Done;
      case 14: data_.text2 = TextOf(value); return WriteOutcome::Done;
      case 15: data_.text3 = TextOf(value); return WriteOutcome::Done;
      case 16: data_.setting3 = value.low; return WriteOutcome::Done;
      default: return WriteOutcome::Unknown;
    }
  }

  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_COMMAND) return std::nullopt;
    switch (HIWORD(wParam)) {
      case CBN_SELENDOK: PostMessageA(window_, kSelectionSettledMessage, 0, 0); return std::nullopt;
      case CBN_EDITCHANGE: return KindEvent{1};
      case CBN_DROPDOWN: return KindEvent{2};
      case CBN_CLOSEUP: return KindEvent{3};
      case CBN_DBLCLK: return KindEvent{4};
      default: return std::nullopt;
    }
  }
  std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == kSelectionSettledMessage) return KindEvent{0};
    return std::nullopt;
  }
  bool ClaimsKey(UINT key) override {
    return (key == VK_ESCAPE || key == VK_RETURN) && SendMessageA(window_, CB_GETDROPPEDSTATE, 0, 0);
  }

  forms::KindData CurrentData() const override {
    forms::ComboBoxData data = data_;
    const int count = static_cast<int>(SendMessageA(window_, CB_GETCOUNT, 0, 0));
    data.items.clear();
    data.bytes1.clear();
    for (int i = 0; i < count; ++i) {
      data.items.push_back(ItemText(i));
      // The values go with their items, also those the application gave at run time.
      const auto itemValue = static_cast<std::uint32_t>(SendMessageA(window_, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
      std::uint8_t bytes[4];
      std::memcpy(bytes, &itemValue, 4);
      data.bytes1.insert(data.bytes1.end(), bytes, bytes + 4);
    }
    data.settings[kStoredIndex] = static_cast<std::uint32_t>(SendMessageA(window_, CB_GETCURSEL, 0, 0));
    if (data.ComboType() != 2) data.text = WindowText(window_);
    return data;
  }

 private:
  // Items the application added at run time belong to the box; keep them in the settings.
  void Capture() {
    const forms::KindData now = CurrentData();
    data_ = std::get<forms::ComboBoxData>(now);
  }
  void FillItems() {
    for (std::size_t i = 0; i < data_.items.size(); ++i) {
      const LRESULT at = SendMessageA(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data_.items[i].c_str()));
      if (at < 0) continue;
      if ((i + 1) * 4 <= data_.bytes1.size()) {
        std::uint32_t itemValue;
        std::memcpy(&itemValue, data_.bytes1.data() + i * 4, 4);
        SendMessageA(window_, CB_SETITEMDATA, static_cast<WPARAM>(at), itemValue);
      }
    }
  }
  void Select(std::int32_t index) {
    const auto count = static_cast<std::int32_t>(SendMessageA(window_, CB_GETCOUNT, 0, 0));
    SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(ClampComboIndex(index, count)), 0);
  }
  std::string ItemText(int index) const {
    const LRESULT length = SendMessageA(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(window_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
  }
  std::string JoinedItems() const {
    std::string joined;
    const int count = static_cast<int>(SendMessageA(window_, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      if (i) joined += "\r\n";
      joined += ItemText(i);
    }
    return joined;
  }
  static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    while (true) {
      const std::size_t end = text.find("\r\n", start);
      lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return lines;
  }

  forms::ComboBoxData data_;
};

}  // namespace

std::unique_ptr<UnitControl> CreateComboBox(const UnitCreateContext& context) {
  forms::ComboBoxData data = DataOf<forms::ComboBoxData>(context);
  const int height = CreatedComboHeight(data.ComboType(), context.record.geometry.height);
  HWND window = CreateChild("COMBOBOX", "", ComboBox::Style(data), context, height);
  if (!window) return nullptr;
  auto box = std::make_unique<ComboBox>(window, std::move(data));
  box->Finish();
  return box;
}

}  // namespace controls
