// The unit kinds over plain platform controls of the right classes: enough for the windows to
// show, take input and answer the kind properties and events the board uses, until the program
// hands the runtime the unit-kind layer.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "forms/kinds.h"
#include "forms/unit_kinds_win.h"

namespace forms {
namespace {

constexpr UINT kSelectionSettled = controls::kSelectionSettledMessage;
constexpr UINT kFeedback = controls::kFeedbackMessage;
constexpr char kWindowClass[] = "WTWindow";

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass) != 0;
  }();
  (void)registered;
}

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}

const char* TextOf(const runtime::ValueCell& value) {
  const auto* text = static_cast<const char*>(value.Pointer());
  return text ? text : "";
}

// Owns a font made from a stored LOGFONT.
class OwnedFont {
 public:
  OwnedFont() = default;
  explicit OwnedFont(const FontValue& font) {
    if (!font) return;
    LOGFONTA log{};
    log.lfHeight = font->height;
    log.lfWidth = font->width;
    log.lfEscapement = font->escapement;
    log.lfOrientation = font->orientation;
    log.lfWeight = font->weight;
    log.lfItalic = font->italic;
    log.lfUnderline = font->underline;
    log.lfStrikeOut = font->strikeOut;
    log.lfCharSet = font->charset;
    log.lfOutPrecision = font->outPrecision;
    log.lfClipPrecision = font->clipPrecision;
    log.lfQuality = font->quality;
    log.lfPitchAndFamily = font->pitchAndFamily;
    const std::string face = font->FaceName();
    lstrcpynA(log.lfFaceName, face.c_str(), LF_FACESIZE);
    font_ = CreateFontIndirectA(&log);
  }
  OwnedFont(const OwnedFont&) = delete;
  OwnedFont& operator=(const OwnedFont&) = delete;
  ~OwnedFont() {
    if (font_) DeleteObject(font_);
  }
  HFONT Get() const { return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

 private:
  HFONT font_ = nullptr;
};

class PlainControl : public UnitControl {
 public:
  PlainControl(KindId kind, HWND window) : kind_(kind), window_(window) {}
  ~PlainControl() override {
    if (window_ && IsWindow(window_) && kind_ != kind_ids::kWindow) DestroyWindow(window_);
  }
  HWND Handle() const override { return window_; }

  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kind_ == kind_ids::kWindow && kindIndex == 0) {
      value = runtime::Value(runtime::TextValue(WindowText(window_)));
      return true;
    }
    if (kind_ == kind_ids::kButton && kindIndex == 2) {
      value = runtime::Value(runtime::TextValue(WindowText(window_)));
      return true;
    }
    return false;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if ((kind_ == kind_ids::kWindow && kindIndex == 0) || (kind_ == kind_ids::kButton && kindIndex == 2)) {
      SetWindowTextA(window_, TextOf(value));
      InvalidateRect(window_, nullptr, TRUE);
      return WriteOutcome::Done;
    }
    return WriteOutcome::Unknown;
  }
  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (kind_ == kind_ids::kButton && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      return KindEvent{0};
    }
    return std::nullopt;
  }
  std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (kind_ == kind_ids::kLabel && message == kFeedback) {
      return KindEvent{0, 2, {static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam)}};
    }
    return std::nullopt;
  }
  bool ClaimsKey(UINT) override { return false; }
  void AllUnitsCreated(const UnitHandleLookup&) override {}

  KindData CurrentData() const override { return data_; }
  void KeepData(const KindData& data) { data_ = data; }

  void AdoptFont(const FontValue& font) {
    font_ = std::make_unique<OwnedFont>(font);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->Get()), FALSE);
  }

 protected:
  KindId kind_;
  HWND window_;
  std::unique_ptr<OwnedFont> font_;
  KindData data_;
};

class ComboBoxControl final : public PlainControl {
 public:
  using PlainControl::PlainControl;
  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex != 11) return false;
    value = runtime::Value::Adopt(runtime::ValueCell::Integer(
        static_cast<std::int32_t>(SendMessageA(window_, CB_GETCURSEL, 0, 0))));
    return true;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex == 0) {
      // The list's type is a creation style.
      if (auto* combo = std::get_if<ComboBoxData>(&data_)) {
        combo->settings[0] = static_cast<std::uint32_t>(value.AsInteger());
        return WriteOutcome::Recreate;
      }
      return WriteOutcome::Unknown;
    }
    if (kindIndex != 11) return WriteOutcome::Unknown;
    const auto count = static_cast<std::int32_t>(SendMessageA(window_, CB_GETCOUNT, 0, 0));
    std::int32_t index = value.AsInteger();
    if (index > count - 1) index = count - 1;
    if (index < -1) index = -1;
    SendMessageA(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return WriteOutcome::Done;
  }
  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_COMMAND) return std::nullopt;
    switch (HIWORD(wParam)) {
      case CBN_SELENDOK: PostMessageA(window_, kSelectionSettled, 0, 0); return std::nullopt;
      case CBN_EDITCHANGE: return KindEvent{1};
      case CBN_DROPDOWN: return KindEvent{2};
      case CBN_CLOSEUP: return KindEvent{3};
      case CBN_DBLCLK: return KindEvent{4};
      default: return std::nullopt;
    }
  }
  std::optional<KindEvent> FromOwnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == kSelectionSettled) return KindEvent{0};
    return std::nullopt;
  }
  bool ClaimsKey(UINT key) override {
    return (key == VK_ESCAPE || key == VK_RETURN) && SendMessageA(window_, CB_GETDROPPEDSTATE, 0, 0);
  }
  // The items added at run time go with the control into its next incarnation.
  KindData CurrentData() const override {
    KindData data = data_;
    if (auto* combo = std::get_if<ComboBoxData>(&data)) {
      combo->items.clear();
      const auto count = SendMessageA(window_, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageA(window_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
        SendMessageA(window_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        combo->items.push_back(std::move(item));
      }
    }
    return data;
  }
};

class SliderControl final : public PlainControl {
 public:
  SliderControl(HWND window, const SliderBarData& data) : PlainControl(kind_ids::kSliderBar, window) {
    const auto minimum = static_cast<std::int32_t>(data.minimum);
    const auto maximum = static_cast<std::int32_t>(data.maximum);
    low_ = minimum < maximum ? minimum : maximum;
    high_ = minimum < maximum ? maximum : minimum;
    SendMessageA(window_, TBM_SETRANGEMIN, FALSE, low_);
    SendMessageA(window_, TBM_SETRANGEMAX, FALSE, high_);
    position_ = Stored(static_cast<std::int32_t>(data.position));
    SendMessageA(window_, TBM_SETPOS, TRUE, Shown(position_));
    SendMessageA(window_, TBM_SETLINESIZE, 0, data.lineSize);
    SendMessageA(window_, TBM_SETPAGESIZE, 0, data.pageSize);
    SendMessageA(window_, TBM_SETTICFREQ, data.tickFrequency, 0);
  }
  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex != 11) return false;
    value = runtime::Value::Adopt(runtime::ValueCell::Integer(position_));
    return true;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex != 11) return WriteOutcome::Unknown;
    position_ = Stored(value.AsInteger());
    SendMessageA(window_, TBM_SETPOS, TRUE, Shown(position_));
    return WriteOutcome::Done;
  }
  std::optional<KindEvent> FromNotification(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_HSCROLL && message != WM_VSCROLL) return std::nullopt;
    if (LOWORD(wParam) == TB_ENDTRACK) return std::nullopt;
    position_ = static_cast<std::int32_t>(SendMessageA(window_, TBM_GETPOS, 0, 0));
    return KindEvent{0};
  }

 private:
  static std::int32_t Stored(std::int32_t value) { return value < 0 ? 0 : (value > 32767 ? 32767 : value); }
  std::int32_t Shown(std::int32_t value) const { return value < low_ ? low_ : (value > high_ ? high_ : value); }
  std::int32_t low_ = 0, high_ = 100, position_ = 0;
};

class PageControl final : public PlainControl {
 public:
  PageControl(HWND window, const UnitRecord& record, const PageControlData& data)
      : PlainControl(kind_ids::kPageControl, window), pageIds_(SplitPages(record.children)) {
    for (std::size_t i = 0; i < data.pages.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      std::string caption = data.pages[i].caption;
      item.pszText = caption.data();
      SendMessageA(window_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  void AllUnitsCreated(const UnitHandleLookup& lookup) override {
    pages_.clear();
    for (const auto& ids : pageIds_) {
      std::vector<HWND> handles;
      for (UnitId id : ids) {
        if (HWND handle = lookup(id)) handles.push_back(handle);
      }
      pages_.push_back(std::move(handles));
    }
  }
  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex != 4) return false;
    value = runtime::Value::Adopt(runtime::ValueCell::Integer(current_));
    return true;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex != 4) return WriteOutcome::Unknown;
    Select(value.AsInteger());
    return WriteOutcome::Done;
  }
  std::optional<KindEvent> FromNotification(UINT message, WPARAM, LPARAM lParam) override {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TCN_SELCHANGE) {
      Select(static_cast<std::int32_t>(SendMessageA(window_, TCM_GETCURSEL, 0, 0)));
    }
    return std::nullopt;
  }

 private:
  void Select(std::int32_t page) {
    if (page < 0 || static_cast<std::size_t>(page) >= pages_.size()) return;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (static_cast<std::int32_t>(i) == page) continue;
      for (HWND handle : pages_[i]) ShowWindow(handle, SW_HIDE);
    }
    for (HWND handle : pages_[static_cast<std::size_t>(page)]) ShowWindow(handle, SW_SHOWNA);
    current_ = page;
    SendMessageA(window_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  }
  std::vector<std::vector<UnitId>> pageIds_;
  std::vector<std::vector<HWND>> pages_;
  std::int32_t current_ = 0;
};

class CommonDialogControl final : public PlainControl {
 public:
  explicit CommonDialogControl(const CommonDlgData& data)
      : PlainControl(kind_ids::kCommonDlg, nullptr), fileName_(data.FileName()) {}
  bool ReadProperty(int kindIndex, runtime::Value& value) override {
    if (kindIndex != 2) return false;
    value = runtime::Value(runtime::TextValue(fileName_));
    return true;
  }
  WriteOutcome WriteProperty(int kindIndex, const runtime::ValueCell& value) override {
    if (kindIndex != 2) return WriteOutcome::Unknown;
    fileName_ = TextOf(value);
    return WriteOutcome::Done;
  }

 private:
  std::string fileName_;
};

HWND CreateChild(const char* className, const std::string& text, DWORD style,
                 const UnitCreateContext& context) {
  const Geometry& g = context.record.geometry;
  return CreateWindowExA(0, className, text.c_str(),
                         WS_CHILD | WS_CLIPSIBLINGS | context.commonStyle | style, g.left, g.top,
                         g.width, g.height, context.parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(context.controlId)), Instance(),
                         nullptr);
}

std::unique_ptr<PlainControl> CreateWindowUnit(const UnitCreateContext& context) {
  RegisterWindowClass();
  const auto* data = std::get_if<WindowData>(&context.data);
  const WindowData defaults;
  const WindowData& w = data ? *data : defaults;
  DWORD style = WS_CLIPCHILDREN | context.commonStyle;
  DWORD exStyle = 0;
  DWORD frame = 0;
  if (w.borderStyle != 0) {
    if (!w.caption.empty() || w.controlBox) frame |= WS_CAPTION | (w.controlBox ? WS_SYSMENU : 0);
    frame |= WS_DLGFRAME;
    if (w.borderStyle == 1 || w.borderStyle == 3 || w.borderStyle == 5) style |= WS_THICKFRAME;
    if (w.borderStyle == 3 || w.borderStyle == 4) exStyle |= WS_EX_TOOLWINDOW;
    if (w.borderStyle == 5 || w.borderStyle == 6) exStyle |= WS_EX_CLIENTEDGE;
  }
  if (w.maxButton) frame |= WS_MAXIMIZEBOX;
  if (w.minButton) frame |= WS_MINIMIZEBOX;
  Geometry g = context.record.geometry;
  if (w.startPosition == 1) {
    g.left = (GetSystemMetrics(SM_CXSCREEN) - g.width) / 2;
    g.top = (GetSystemMetrics(SM_CYSCREEN) - g.height) / 2;
  } else if (w.startPosition == 2) {
    style |= WS_MINIMIZE;
  } else if (w.startPosition == 3 && (style & WS_THICKFRAME)) {
    style |= WS_MAXIMIZE;
  }
  if (context.popup) style |= WS_POPUP;
  const char* className = w.className.empty() ? kWindowClass : w.className.c_str();
  HWND window = CreateWindowExA(exStyle, className, w.caption.c_str(), style | frame, g.left, g.top,
                                g.width, g.height, context.parent, nullptr, Instance(), nullptr);
  if (!window) return nullptr;
  // The system gives an unowned window a caption of its own; take the frame bits back to ours.
  constexpr DWORD kFrameBits = WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  const DWORD live = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  SetWindowLongPtrA(window, GWL_STYLE, (live & ~kFrameBits) | frame);
  SetWindowPos(window, nullptr, g.left, g.top, g.width, g.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  if (w.alwaysOnTop) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!w.movable) {
    if (HMENU menu = GetSystemMenu(window, FALSE)) DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  }
  return std::make_unique<PlainControl>(kind_ids::kWindow, window);
}

}  // namespace

static std::unique_ptr<PlainControl> CreatePlainControl(const UnitCreateContext& context) {
  const KindId kind = context.record.kind;
  if (kind == kind_ids::kWindow) return CreateWindowUnit(context);
  if (kind == kind_ids::kCommonDlg) {
    const auto* data = std::get_if<CommonDlgData>(&context.data);
    return std::make_unique<CommonDialogControl>(data ? *data : CommonDlgData{});
  }
  if (kind == kind_ids::kButton) {
    const auto* data = std::get_if<ButtonData>(&context.data);
    const ButtonData b = data ? *data : ButtonData{};
    DWORD style = BS_MULTILINE | (b.buttonType == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    style |= b.hAlign == 0 ? BS_LEFT : (b.hAlign == 2 ? BS_RIGHT : BS_CENTER);
    style |= b.vAlign == 0 ? BS_TOP : (b.vAlign == 2 ? BS_BOTTOM : BS_VCENTER);
    HWND window = CreateChild("BUTTON", b.caption, style, context);
    if (!window) return nullptr;
    auto control = std::make_unique<PlainControl>(kind, window);
    control->AdoptFont(b.font);
    return control;
  }
  if (kind == kind_ids::kGroupBox) {
    const auto* data = std::get_if<GroupBoxData>(&context.data);
    const GroupBoxData b = data ? *data : GroupBoxData{};
    HWND window = CreateChild("BUTTON", b.caption, BS_GROUPBOX, context);
    if (!window) return nullptr;
    auto control = std::make_unique<PlainControl>(kind, window);
    control->AdoptFont(b.font);
    return control;
  }
  if (kind == kind_ids::kLabel) {
    const auto* data = std::get_if<LabelData>(&context.data);
    const LabelData b = data ? *data : LabelData{};
    HWND window = CreateChild("STATIC", b.caption, SS_LEFT | SS_CENTERIMAGE | SS_NOTIFY, context);
    if (!window) return nullptr;
    auto control = std::make_unique<PlainControl>(kind, window);
    control->AdoptFont(b.font);
    return control;
  }
  if (kind == kind_ids::kPicBox) {
    HWND window = CreateChild("STATIC", "", SS_NOTIFY, context);
    if (!window) return nullptr;
    return std::make_unique<PlainControl>(kind, window);
  }
  if (kind == kind_ids::kComboBox) {
    const auto* data = std::get_if<ComboBoxData>(&context.data);
    const ComboBoxData b = data ? *data : ComboBoxData{};
    const std::uint32_t type = b.ComboType();
    DWORD style = WS_VSCROLL | CBS_AUTOHSCROLL |
                  (type == 0 ? CBS_SIMPLE : (type == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST));
    UnitRecord record = context.record;
    if (type != 0 && record.geometry.height < 160) record.geometry.height = 160;
    HWND window = CreateChild("COMBOBOX", "", style, UnitCreateContext{record, context.data, context.parent,
                                                                       false, context.controlId,
                                                                       context.commonStyle});
    if (!window) return nullptr;
    for (const std::string& item : b.items) SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    auto control = std::make_unique<ComboBoxControl>(kind, window);
    control->AdoptFont(FontValue{});
    return control;
  }
  if (kind == kind_ids::kSliderBar) {
    const auto* data = std::get_if<SliderBarData>(&context.data);
    const SliderBarData b = data ? *data : SliderBarData{};
    DWORD style = TBS_AUTOTICKS | (b.orientation == 1 ? TBS_VERT : TBS_HORZ);
    if (b.tickMarks == 0) style |= TBS_NOTICKS;
    if (b.tickMarks == 1) style |= TBS_TOP;
    if (b.tickMarks == 3) style |= TBS_BOTH;
    if (b.selectionShown) style |= TBS_ENABLESELRANGE;
    HWND window = CreateChild(TRACKBAR_CLASSA, "", style, context);
    if (!window) return nullptr;
    return std::make_unique<SliderControl>(window, b);
  }
  if (kind == kind_ids::kPageControl) {
    const auto* data = std::get_if<PageControlData>(&context.data);
    const PageControlData b = data ? *data : PageControlData{};
    HWND window = CreateChild(WC_TABCONTROLA, "", 0, context);
    if (!window) return nullptr;
    auto control = std::make_unique<PageControl>(window, context.record, b);
    control->AdoptFont(FontValue{b.font});
    return control;
  }
  return nullptr;
}

std::unique_ptr<UnitControl> CreatePlainUnitControl(const UnitCreateContext& context) {
  InitCommonControlsOnce();
  auto control = CreatePlainControl(context);
  if (control) control->KeepData(context.data);
  return control;
}

}  // namespace forms
