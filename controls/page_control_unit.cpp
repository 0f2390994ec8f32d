// PageControl: a tab control whose pages are groups of units; the current page's units show,
// the others are hidden.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "controls/win_support.h"

namespace controls {
namespace {

constexpr int kFont = 2;         // property 10
constexpr int kCurrentPage = 4;  // property 12

class PageControl final : public ChildControl {
 public:
  PageControl(HWND window, forms::PageControlData data) : ChildControl(window), data_(std::move(data)) {}

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

  void AllUnitsCreated(const UnitLookup& lookup) override { lookup_ = &lookup; }

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
  // A page outside the list leaves the current one showing. The pages are read from the record
  // at each switch, so a unit copied onto a page or made anew switches with it; a unit of the
  // page shows only when its record says it is visible, so one hidden while its page was away
  // stays hidden.
  void Select(std::int32_t page) {
    if (!lookup_) return;
    const auto pages = forms::SplitPages(lookup_->Children(window_));
    if (page < 0 || static_cast<std::size_t>(page) >= pages.size()) return;
    // One paint for the whole switch: while the units change, the control is marked hidden (the
    // system's own redraw switch; the tab control's answer to WM_SETREDRAW would only stop its
    // tabs), so no unit paints on its own; then everything shown paints once.
    const bool shown = IsWindowVisible(window_) != FALSE;
    if (shown) DefWindowProcA(window_, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (static_cast<std::int32_t>(i) == page) continue;
      for (forms::UnitId id : pages[i]) {
        HWND handle = lookup_->Handle(id);
        if (handle && (GetWindowLongPtrA(handle, GWL_STYLE) & WS_VISIBLE)) ShowWindow(handle, SW_HIDE);
      }
    }
    for (forms::UnitId id : pages[static_cast<std::size_t>(page)]) {
      HWND handle = lookup_->Handle(id);
      if (handle && lookup_->MarkedVisible(id)) ShowWindow(handle, SW_SHOWNA);
    }
    current_ = page;
    SendMessageA(window_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    if (shown) {
      DefWindowProcA(window_, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }

  forms::PageControlData data_;
  const UnitLookup* lookup_ = nullptr;
  std::int32_t current_ = 0;
};

}  // namespace

std::unique_ptr<UnitControl> CreatePageControl(const UnitCreateContext& context) {
  forms::PageControlData data = DataOf<forms::PageControlData>(context);
  HWND window = CreateChild(WC_TABCONTROLA, "", WS_CLIPCHILDREN, context);
  if (!window) return nullptr;
  auto control = std::make_unique<PageControl>(window, std::move(data));
  control->Finish();
  return control;
}

}  // namespace controls
