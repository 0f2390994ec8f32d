// PageControl: a tab control whose pages are groups of units; the current page's units show,
// the others are hidden.
#include <windows.h>
#include <commctrl.h>

#include <map>

#include "controls/win_support.h"

namespace controls {
namespace {

constexpr int kFont = 2;         // property 10
constexpr int kCurrentPage = 4;  // property 12

class PageControl final : public ChildControl {
 public:
  PageControl(HWND window, const forms::UnitRecord& record, forms::PageControlData data)
      : ChildControl(window), data_(std::move(data)), pageIds_(forms::SplitPages(record.children)) {}

  void Finish() {
    SetFont(data_.font);
    for (std::size_t i = 0; i < data_.pages.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      std::string caption = data_.pages[i].caption;
      item.pszText = caption.data();
      SendMessageA(window_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
  }

  void AllUnitsCreated(const UnitHandleLookup& lookup) override {
    pages_.clear();
    for (const auto& ids : pageIds_) {
      std::vector<HWND> handles;
      for (forms::UnitId id : ids) {
        if (HWND handle = lookup(id)) handles.push_back(handle);
      }
      pages_.push_back(std::move(handles));
    }
  }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex == kCurrentPage) {
      value = IntegerValue(current_);
      return true;
    }
    if (kindIndex == kFont) {
      value = FontResult(data_.font);
      return true;
    }
    return false;
  }

  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex == kCurrentPage) {
      Select(value.AsInteger());
      return WriteOutcome::Done;
    }
    if (kindIndex == kFont) {
      if (const forms::FontValue font = FontOf(value)) data_.font = *font;
      SetFont(data_.font);
      return WriteOutcome::Done;
    }
    return WriteOutcome::Unknown;
  }

  std::optional<KindEvent> FromNotification(UINT message, WPARAM, LPARAM lParam) override {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
      Select(static_cast<std::int32_t>(SendMessageA(window_, TCM_GETCURSEL, 0, 0)));
    }
    return std::nullopt;
  }

  forms::KindData CurrentData() const override { return data_; }

 private:
  // A page outside the list leaves the current one showing. A unit that was hidden on its own
  // when its page was left stays hidden when the page comes back.
  void Select(std::int32_t page) {
    if (page < 0 || static_cast<std::size_t>(page) >= pages_.size()) return;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (static_cast<std::int32_t>(i) == page) continue;
      for (HWND handle : pages_[i]) {
        if (static_cast<std::int32_t>(i) == current_) hiddenOnLeaving_[handle] = !IsWindowVisible(handle);
        ShowWindow(handle, SW_HIDE);
      }
    }
    for (HWND handle : pages_[static_cast<std::size_t>(page)]) {
      const auto at = hiddenOnLeaving_.find(handle);
      if (at == hiddenOnLeaving_.end() || !at->second) ShowWindow(handle, SW_SHOWNA);
    }
    current_ = page;
    SendMessageA(window_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }

  forms::PageControlData data_;
  std::vector<std::vector<forms::UnitId>> pageIds_;
  std::vector<std::vector<HWND>> pages_;
  std::map<HWND, bool> hiddenOnLeaving_;
  std::int32_t current_ = 0;
};

}  // namespace

std::unique_ptr<UnitControl> CreatePageControl(const UnitCreateContext& context) {
  forms::PageControlData data = DataOf<forms::PageControlData>(context);
  HWND window = CreateChild(WC_TABCONTROLA, "", WS_CLIPCHILDREN, context);
  if (!window) return nullptr;
  auto control = std::make_unique<PageControl>(window, context.record, std::move(data));
  control->Finish();
  return control;
}

}  // namespace controls
