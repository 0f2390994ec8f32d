// The kinds over real controls under a real window: classes and styles as created, the values
// the controls show, what the painted kinds draw, and which notifications become events.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/picture.h"
#include "controls/unit_kind.h"
#include "forms/kinds.h"
#include "runtime/values/byte_set.h"

namespace controls {
namespace {

using namespace forms::kind_ids;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}
DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)); }

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::int32_t ReadInt(UnitControl& control, int kindIndex) {
  runtime::Value value;
  EXPECT_TRUE(control.ReadProperty(kindIndex, value));
  return value.cell().AsInteger();
}
std::string ReadText(UnitControl& control, int kindIndex) {
  runtime::Value value;
  EXPECT_TRUE(control.ReadProperty(kindIndex, value));
  return std::string(value.text().view());
}

// A memory bitmap the painted kinds draw into through WM_PRINTCLIENT.
class Canvas {
 public:
  // WM_PRINTCLIENT asks a painted kind for its client area; WM_ERASEBKGND a window for its
  // background.
  explicit Canvas(HWND window, UINT message = WM_PRINTCLIENT) {
    RECT client;
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    SendMessageA(window, message, reinterpret_cast<WPARAM>(dc_), message == WM_PRINTCLIENT ? PRF_CLIENT : 0);
    GdiFlush();
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t pixel = bits_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  // Pixels in the area that differ from `colour`.
  int CountOther(COLORREF colour, int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) count += At(x, y) != colour;
    }
    return count;
  }
  int Count(COLORREF colour, int left, int top, int right, int bottom) const {
    return (right - left) * (bottom - top) - CountOther(colour, left, top, right, bottom);
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// A picture of one colour, as a decoder would hand one over.
class SolidPicture final : public Picture {
 public:
  SolidPicture(int width, int height, COLORREF colour)
      : width_(width), height_(height), colour_(colour) {
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
  }
  ~SolidPicture() override { DeleteObject(bitmap_); }
  Type GetType() const override { return Type::Bitmap; }
  SIZE Size() const override { return {width_, height_}; }
  void Draw(HDC dc, const RECT& target) const override {
    HBRUSH brush = CreateSolidBrush(colour_);
    FillRect(dc, &target, brush);
    DeleteObject(brush);
  }
  HANDLE ButtonImage() const override { return bitmap_; }

 private:
  int width_, height_;
  COLORREF colour_;
  HBITMAP bitmap_;
};

constexpr COLORREF kPictureColour = RGB(0, 200, 0);

// Bytes "w h": a picture of that size.
std::unique_ptr<Picture> DecodeSize(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != 2) return nullptr;
  return std::make_unique<SolidPicture>(bytes[0], bytes[1], kPictureColour);
}

class KindsTest : public ::testing::Test {
 protected:
  // One shown window for the whole suite: showing a top-level window costs seconds under Wine.
  static void SetUpTestSuite() {
    forms::WindowData data;
    data.borderStyle = 2;
    data.caption = "测试窗口";
    forms::UnitRecord record;
    record.kind = kWindow;
    record.geometry = {40, 40, 480, 360};
    const forms::KindData kindData = data;
    window_ = CreateUnitControl({record, kindData, nullptr, false, 0, 0}).release();
    parent_ = window_ ? window_->Handle() : nullptr;
    ShowWindow(parent_, SW_SHOWNA);
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent_);
    delete window_;
    Pump();
  }
  void SetUp() override {
    ASSERT_TRUE(parent_);
    SetWindowSubclass(parent_, &KindsTest::ParentProc, 1, reinterpret_cast<DWORD_PTR>(this));
    previousDecoder_ = SetPictureDecoder(&DecodeSize);
  }
  void TearDown() override {
    SetPictureDecoder(previousDecoder_);
    units_.clear();
    RemoveWindowSubclass(parent_, &KindsTest::ParentProc, 1);
    Pump();
  }

  std::unique_ptr<UnitControl> CreateUnit(forms::KindId kind, forms::Geometry geometry, forms::KindData data,
                                          HWND parent, DWORD commonStyle, bool popup = false) {
    forms::UnitRecord record;
    record.kind = kind;
    record.geometry = geometry;
    return CreateUnitControl({record, data, parent, popup, nextId_ += 10, commonStyle});
  }

  // A control of the test window whose notifications and own messages are watched.
  UnitControl& Add(forms::KindId kind, forms::Geometry geometry, forms::KindData data = {},
                   const std::vector<forms::UnitId>& children = {}) {
    forms::UnitRecord record;
    record.kind = kind;
    record.geometry = geometry;
    record.children = children;
    units_.push_back(CreateUnitControl({record, data, parent_, false, nextId_ += 10, WS_TABSTOP}));
    UnitControl* control = units_.back().get();
    EXPECT_NE(control, nullptr);
    if (control && control->Handle()) {
      byHandle_[control->Handle()] = control;
      SetWindowSubclass(control->Handle(), &KindsTest::OwnProc, 2, reinterpret_cast<DWORD_PTR>(this));
      ShowWindow(control->Handle(), SW_SHOWNA);
    }
    return *control;
  }

  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    auto* test = reinterpret_cast<KindsTest*>(self);
    HWND from = nullptr;
    if (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) from = reinterpret_cast<HWND>(lParam);
    if (message == WM_NOTIFY) from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    if (auto at = test->byHandle_.find(from); from && at != test->byHandle_.end()) {
      if (auto event = at->second->FromNotification(message, wParam, lParam)) test->events_.push_back({from, *event});
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }
  static LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* test = reinterpret_cast<KindsTest*>(self);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &KindsTest::OwnProc, 2);
    if (auto at = test->byHandle_.find(window); at != test->byHandle_.end()) {
      if (auto event = at->second->FromOwnMessage(message, wParam, lParam)) {
        test->events_.push_back({window, *event});
        return 0;
      }
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }

  std::vector<std::int32_t> EventsOf(HWND window) const {
    std::vector<std::int32_t> indices;
    for (const auto& [from, event] : events_) {
      if (from == window) indices.push_back(event.index);
    }
    return indices;
  }

  struct Raised {
    HWND from;
    KindEvent event;
  };
  static inline UnitControl* window_ = nullptr;
  static inline HWND parent_ = nullptr;
  std::vector<std::unique_ptr<UnitControl>> units_;
  std::map<HWND, UnitControl*> byHandle_;
  std::vector<Raised> events_;
  PictureDecoder previousDecoder_ = nullptr;
  int nextId_ = 90;
};

TEST_F(KindsTest, WindowWithoutBorderLosesTheCaptionTheSystemGaveIt) {
  forms::WindowData data;
  data.borderStyle = 0;
  data.minButton = 1;
  data.caption = "岚铎声板,支持多通道选择播放，支持音量大小调节！";
  auto main = CreateUnit(kWindow, {0, 0, 472, 600}, data, nullptr, 0);
  ASSERT_TRUE(main);
  HWND handle = main->Handle();
  EXPECT_EQ(ClassOf(handle), "WTWindow");
  const DWORD style = StyleOf(handle);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_POPUP), 0u);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  RECT outer, client;
  GetWindowRect(handle, &outer);
  GetClientRect(handle, &client);
  EXPECT_EQ(outer.right - outer.left, 472);
  EXPECT_EQ(outer.bottom - outer.top, 600);
  EXPECT_EQ(client.right, 472) << "no frame left";
  EXPECT_EQ(client.bottom, 600) << "no caption left";
  EXPECT_EQ(ReadText(*main, 0), data.caption);
  DestroyWindow(handle);
}

TEST_F(KindsTest, DialogWindowIsATopMostToolPopupWithCaption) {
  forms::WindowData data;
  data.borderStyle = 4;
  data.controlBox = 1;
  data.alwaysOnTop = 1;
  data.startPosition = 1;
  data.movable = 0;
  data.caption = "设置快捷键";
  auto dialog = CreateUnit(kWindow, {0, 0, 300, 200}, data, parent_, 0, true);
  ASSERT_TRUE(dialog);
  HWND handle = dialog->Handle();
  const DWORD style = StyleOf(handle);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(ExStyleOf(handle) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ExStyleOf(handle) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(handle, GW_OWNER), parent_);
  RECT outer;
  GetWindowRect(handle, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
  EXPECT_EQ(outer.bottom - outer.top, 200);
  HMENU menu = GetSystemMenu(handle, FALSE);
  EXPECT_EQ(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1)) << "Move is gone";

  const runtime::TextValue title("新标题");
  EXPECT_EQ(dialog->WriteProperty(0, runtime::ValueCell::Text(title.block())), UnitControl::WriteOutcome::Done);
  char text[32] = {};
  GetWindowTextA(handle, text, sizeof text);
  EXPECT_STREQ(text, "新标题");
  DestroyWindow(handle);
}

TEST_F(KindsTest, WindowBackColourAndPicture) {
  forms::WindowData data;
  data.borderStyle = 0;
  data.backColor = RGB(255, 0, 0);
  data.backPicture = {40, 20};
  auto window = CreateUnit(kWindow, {0, 0, 100, 80}, data, nullptr, 0);
  ASSERT_TRUE(window);
  HWND handle = window->Handle();
  {
    const Canvas canvas(handle, WM_ERASEBKGND);
    EXPECT_EQ(canvas.Count(kPictureColour, 0, 0, 100, 80), 40 * 20) << "own size";
    EXPECT_EQ(canvas.At(39, 19), kPictureColour);
    EXPECT_EQ(canvas.Count(RGB(255, 0, 0), 0, 0, 100, 80), 100 * 80 - 40 * 20);
  }
  EXPECT_EQ(window->WriteProperty(4, runtime::ValueCell::Integer(1)), UnitControl::WriteOutcome::Done);
  {
    const Canvas canvas(handle, WM_ERASEBKGND);
    EXPECT_EQ(canvas.Count(kPictureColour, 0, 0, 100, 80), 100 * 80) << "stretched";
  }
  const runtime::ByteSet none;
  window->WriteProperty(3, runtime::ValueCell::ByteSet(none.block()));
  window->WriteProperty(2, runtime::ValueCell::Integer(RGB(0, 0, 255)));
  {
    const Canvas canvas(handle, WM_ERASEBKGND);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 255), 0, 0, 100, 80), 100 * 80);
  }
  window->WriteProperty(2, runtime::ValueCell::Integer(static_cast<std::int32_t>(forms::kDefaultColour)));
  {
    const Canvas canvas(handle, WM_ERASEBKGND);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNFACE), 0, 0, 100, 80), 100 * 80) << "the class's button face";
  }
  DestroyWindow(handle);
}

// A WAV file of a 0.1 s square wave, 8 kHz mono 8-bit.
std::vector<std::uint8_t> SquareWave() {
  std::vector<std::uint8_t> samples(800);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = (i / 10) % 2 ? 0xC0 : 0x40;
  std::vector<std::uint8_t> file;
  const auto text = [&file](const char* four) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(four[i]));
  };
  const auto u32 = [&file](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto u16 = [&file](std::uint16_t v) {
    file.push_back(static_cast<std::uint8_t>(v));
    file.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  text("RIFF");
  u32(static_cast<std::uint32_t>(36 + samples.size()));
  text("WAVE");
  text("fmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(8000);
  u16(1);
  u16(8);
  text("data");
  u32(static_cast<std::uint32_t>(samples.size()));
  for (const std::uint8_t sample : samples) file.push_back(sample);
  return file;
}

// Whether the process plays a sound now: a sound that must not interrupt one is refused then.
bool SomethingPlays() {
  static const std::vector<std::uint8_t> probe = SquareWave();
  if (!PlaySoundA(reinterpret_cast<LPCSTR>(probe.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NOSTOP | SND_NODEFAULT)) {
    return true;
  }
  PlaySoundA(nullptr, nullptr, 0);
  return false;
}

TEST_F(KindsTest, WindowBackMusicPlaysWhileTheWindowLives) {
  ASSERT_FALSE(SomethingPlays());
  forms::WindowData data;
  data.borderStyle = 2;
  data.backMusic = SquareWave();
  auto window = CreateUnit(kWindow, {0, 0, 100, 80}, data, nullptr, 0);
  ASSERT_TRUE(window);
  Sleep(300);  // longer than the sound: it loops
  EXPECT_TRUE(SomethingPlays());
  const runtime::ByteSet none;
  window->WriteProperty(5, runtime::ValueCell::ByteSet(none.block()));
  EXPECT_FALSE(SomethingPlays()) << "no music stored: silent";

  const std::vector<std::uint8_t> noSound{'M', 'Z', 0, 0};
  const runtime::ByteSet bad(noSound);
  window->WriteProperty(5, runtime::ValueCell::ByteSet(bad.block()));
  EXPECT_FALSE(SomethingPlays()) << "not a sound file: silent";
  const runtime::ByteSet wave(SquareWave());
  window->WriteProperty(5, runtime::ValueCell::ByteSet(wave.block()));
  EXPECT_TRUE(SomethingPlays());
  DestroyWindow(window->Handle());
  window.reset();
  EXPECT_FALSE(SomethingPlays()) << "stopped with its window";
}

TEST_F(KindsTest, ControlsHaveTheirClassesAndStyles) {
  forms::ButtonData button;
  button.buttonType = 1;
  button.hAlign = 0;
  button.vAlign = 2;
  forms::SliderBarData slider;
  slider.orientation = 1;
  slider.tickMarks = 3;
  slider.selectionShown = 1;
  forms::GroupBoxData group;
  group.captionAlignment = 2;
  struct Case {
    forms::KindId kind;
    forms::KindData data;
    const char* className;
    DWORD wanted;
    DWORD unwanted;
  };
  const Case cases[] = {
      {kButton, button, "Button", BS_MULTILINE | BS_DEFPUSHBUTTON | BS_LEFT | BS_BOTTOM, BS_RIGHT | BS_TOP},
      {kButton, forms::ButtonData{}, "Button", BS_MULTILINE | BS_CENTER | BS_VCENTER, BS_DEFPUSHBUTTON},
      {kGroupBox, group, "Button", BS_GROUPBOX | BS_RIGHT, 0},
      // The combo box hands WS_VSCROLL on to its list.
      {kComboBox, forms::ComboBoxData{}, "ComboBox", CBS_AUTOHSCROLL | CBS_SIMPLE, CBS_DROPDOWN},
      {kSliderBar, slider, "msctls_trackbar32", TBS_AUTOTICKS | TBS_VERT | TBS_BOTH | TBS_ENABLESELRANGE, 0},
      {kSliderBar, forms::SliderBarData{}, "msctls_trackbar32", TBS_AUTOTICKS | TBS_NOTICKS, TBS_VERT},
      {kLabel, forms::LabelData{}, "SbPaintedUnit", 0, 0},
      {kPicBox, forms::PicBoxData{}, "SbPaintedUnit", 0, 0},
      {kPageControl, forms::PageControlData{}, "SysTabControl32", 0, 0},
  };
  for (const Case& c : cases) {
    UnitControl& control = Add(c.kind, {10, 10, 120, 40}, c.data);
    HWND handle = control.Handle();
    ASSERT_TRUE(handle) << c.className;
    EXPECT_STRCASEEQ(ClassOf(handle).c_str(), c.className);
    const DWORD style = StyleOf(handle);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP))
        << c.className;
    EXPECT_EQ(style & c.wanted, c.wanted) << c.className << " " << std::hex << style;
    EXPECT_EQ(style & c.unwanted, 0u) << c.className << " " << std::hex << style;
    EXPECT_EQ(GetParent(handle), parent_);
  }
  UnitControl& dialog = Add(kCommonDlg, {0, 0, 0, 0}, forms::CommonDlgData{});
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST_F(KindsTest, DisabledFlagComesFromTheCommonStyle) {
  forms::UnitRecord record;
  record.kind = kButton;
  record.geometry = {0, 0, 50, 20};
  const forms::KindData data = forms::ButtonData{};
  auto button = CreateUnitControl({record, data, parent_, false, 100, WS_DISABLED});
  ASSERT_TRUE(button);
  EXPECT_FALSE(IsWindowEnabled(button->Handle()));
  EXPECT_EQ(GetDlgCtrlID(button->Handle()), 100);
  EXPECT_FALSE(StyleOf(button->Handle()) & WS_TABSTOP);
}

TEST_F(KindsTest, DropDownListIsCreatedAsHighAsItsList) {
  forms::ComboBoxData data;
  data.settings[forms::ComboBoxData::kComboType] = 2;
  UnitControl& combo = Add(kComboBox, {10, 10, 150, 20}, data);
  EXPECT_TRUE(StyleOf(combo.Handle()) & CBS_DROPDOWNLIST);
  RECT closed{};
  GetWindowRect(combo.Handle(), &closed);
  EXPECT_LT(closed.bottom - closed.top, 60) << "closed it stays a one-line box";
  // The dropped list reaches as far as that of a box made 160 high.
  HWND reference = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 200, 10, 150, 160,
                                   parent_, nullptr, nullptr, nullptr);
  SendMessageA(reference, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  auto listDepth = [](HWND box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box, &info);
    RECT top, list;
    GetWindowRect(box, &top);
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    GetWindowRect(info.hwndList, &list);
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    return list.bottom - top.top;
  };
  const int depth = listDepth(reference);
  EXPECT_GT(depth, 100);
  EXPECT_EQ(listDepth(combo.Handle()), depth);
  DestroyWindow(reference);

  forms::ComboBoxData simple;
  UnitControl& plain = Add(kComboBox, {10, 60, 150, 20}, simple);
  GetWindowRect(plain.Handle(), &closed);
  EXPECT_EQ(closed.bottom - closed.top, 20);
}

TEST_F(KindsTest, ComboItemsIndexAndItsClamps) {
  forms::ComboBoxData data;
  data.settings[forms::ComboBoxData::kComboType] = 2;
  data.settings[forms::ComboBoxData::kStoredIndex] = 1;
  data.items = {"无输出", "4/5", "6/7"};
  UnitControl& combo = Add(kComboBox, {10, 10, 150, 20}, data);
  EXPECT_EQ(SendMessageA(combo.Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ReadInt(combo, 11), 1);
  for (const auto& [written, read] : {std::pair{7, 2}, std::pair{-5, -1}, std::pair{0, 0}, std::pair{-1, -1}}) {
    EXPECT_EQ(combo.WriteProperty(11, runtime::ValueCell::Integer(written)), UnitControl::WriteOutcome::Done);
    EXPECT_EQ(ReadInt(combo, 11), read) << written;
  }
  Pump();
  EXPECT_TRUE(events_.empty()) << "a written index raises nothing";
}

TEST_F(KindsTest, ComboTypeIsRecreatedWithItsItems) {
  forms::ComboBoxData data;
  data.settings[forms::ComboBoxData::kComboType] = 2;
  UnitControl& combo = Add(kComboBox, {10, 10, 150, 20}, data);
  SendMessageA(combo.Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("扬声器"));
  combo.WriteProperty(11, runtime::ValueCell::Integer(0));
  EXPECT_EQ(combo.WriteProperty(0, runtime::ValueCell::Integer(1)), UnitControl::WriteOutcome::Recreate);
  const forms::KindData now = combo.CurrentData();
  const auto& again = std::get<forms::ComboBoxData>(now);
  EXPECT_EQ(again.ComboType(), 1u);
  ASSERT_EQ(again.items.size(), 1u);
  EXPECT_EQ(again.items[0], "扬声器");
  UnitControl& remade = Add(kComboBox, {10, 60, 150, 20}, now);
  EXPECT_TRUE(StyleOf(remade.Handle()) & CBS_DROPDOWN);
  EXPECT_FALSE((StyleOf(remade.Handle()) & 3) == CBS_DROPDOWNLIST);
  EXPECT_EQ(ReadInt(remade, 11), 0);
}

TEST_F(KindsTest, ComboSelectionIsRaisedAfterItSettled) {
  forms::ComboBoxData data;
  data.settings[forms::ComboBoxData::kComboType] = 2;
  data.items = {"a", "b", "c"};
  UnitControl& combo = Add(kComboBox, {10, 10, 150, 20}, data);
  HWND handle = combo.Handle();
  SetFocus(handle);
  SendMessageA(handle, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(combo.ClaimsKey(VK_ESCAPE)) << "an open list keeps Esc";
  EXPECT_TRUE(combo.ClaimsKey(VK_RETURN));
  SendMessageA(handle, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(handle, WM_KEYDOWN, VK_RETURN, 0);
  const std::vector<std::int32_t> before = EventsOf(handle);
  EXPECT_EQ(std::count(before.begin(), before.end(), 0), 0) << "not while the notification runs";
  EXPECT_EQ(std::count(before.begin(), before.end(), 2), 1) << "DroppedDown";
  Pump();
  const std::vector<std::int32_t> after = EventsOf(handle);
  EXPECT_EQ(std::count(after.begin(), after.end(), 0), 1) << "SelectionMade";
  EXPECT_EQ(std::count(after.begin(), after.end(), 3), 1) << "ClosedUp";
  EXPECT_FALSE(combo.ClaimsKey(VK_ESCAPE));
  EXPECT_NE(ReadInt(combo, 11), -1);
  EXPECT_EQ(ReadInt(combo, 11), SendMessageA(handle, CB_GETCURSEL, 0, 0));
}

TEST_F(KindsTest, ComboNotificationCodes) {
  UnitControl& combo = Add(kComboBox, {10, 10, 150, 20}, forms::ComboBoxData{});
  struct Case {
    WORD code;
    std::optional<std::int32_t> event;
  };
  for (const Case c : {Case{CBN_EDITCHANGE, 1}, Case{CBN_DROPDOWN, 2}, Case{CBN_CLOSEUP, 3}, Case{CBN_DBLCLK, 4},
                       Case{CBN_SELCHANGE, std::nullopt}, Case{CBN_SELENDOK, std::nullopt}}) {
    const auto event = combo.FromNotification(WM_COMMAND, MAKEWPARAM(110, c.code), reinterpret_cast<LPARAM>(combo.Handle()));
    EXPECT_EQ(event.has_value(), c.event.has_value()) << c.code;
    if (event && c.event) {
      EXPECT_EQ(event->index, *c.event) << c.code;
    }
  }
}

TEST_F(KindsTest, SliderRangeIsOrderedAndPositionClamped) {
  forms::SliderBarData data;
  data.minimum = 100;
  data.maximum = 10;
  data.position = 500;
  data.pageSize = 1000;
  UnitControl& slider = Add(kSliderBar, {10, 10, 200, 30}, data);
  HWND handle = slider.Handle();
  EXPECT_EQ(SendMessageA(handle, TBM_GETRANGEMIN, 0, 0), 10);
  EXPECT_EQ(SendMessageA(handle, TBM_GETRANGEMAX, 0, 0), 100);
  EXPECT_EQ(SendMessageA(handle, TBM_GETPOS, 0, 0), 100);
  EXPECT_EQ(SendMessageA(handle, TBM_GETPAGESIZE, 0, 0), 90);
  EXPECT_EQ(ReadInt(slider, 11), 500) << "the stored value is kept";
  struct Case {
    std::int32_t written, stored, shown;
  };
  for (const Case c : {Case{40000, 32767, 100}, Case{-5, 0, 10}, Case{42, 42, 42}}) {
    slider.WriteProperty(11, runtime::ValueCell::Integer(c.written));
    EXPECT_EQ(ReadInt(slider, 11), c.stored) << c.written;
    EXPECT_EQ(SendMessageA(handle, TBM_GETPOS, 0, 0), c.shown) << c.written;
  }
  Pump();
  EXPECT_TRUE(events_.empty()) << "a written position raises nothing";

  // The orientation is fixed at creation: the new settings come back for a new control.
  EXPECT_EQ(slider.WriteProperty(1, runtime::ValueCell::Integer(1)), UnitControl::WriteOutcome::Recreate);
  const forms::KindData now = slider.CurrentData();
  UnitControl& remade = Add(kSliderBar, {10, 50, 30, 200}, now);
  EXPECT_TRUE(StyleOf(remade.Handle()) & TBS_VERT);
  EXPECT_EQ(ReadInt(remade, 11), 42);
  EXPECT_EQ(SendMessageA(remade.Handle(), TBM_GETRANGEMIN, 0, 0), 10);
}

TEST_F(KindsTest, SliderRaisesOnEveryScrollButTheEndOfTrack) {
  forms::SliderBarData data;
  data.position = 50;
  UnitControl& slider = Add(kSliderBar, {10, 10, 200, 30}, data);
  HWND handle = slider.Handle();
  SetFocus(handle);
  SendMessageA(handle, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(handle, WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(EventsOf(handle), std::vector<std::int32_t>{0}) << "line step raised, end of track not";
  EXPECT_EQ(ReadInt(slider, 11), 51) << "read from the control before the event";
  SendMessageA(handle, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(EventsOf(handle).size(), 2u);
  EXPECT_EQ(ReadInt(slider, 11), 61);
  EXPECT_FALSE(slider.FromNotification(WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(handle)));
  EXPECT_TRUE(slider.FromNotification(WM_VSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(handle)));
}

TEST_F(KindsTest, ButtonClickIsClicked) {
  forms::ButtonData data;
  data.caption = "停止播放";
  UnitControl& button = Add(kButton, {10, 10, 100, 30}, data);
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(EventsOf(button.Handle()), std::vector<std::int32_t>{0});
  EXPECT_EQ(ReadText(button, 2), "停止播放");
  const runtime::TextValue caption("播放");
  button.WriteProperty(2, runtime::ValueCell::Text(caption.block()));
  EXPECT_EQ(ReadText(button, 2), "播放");
}

TEST_F(KindsTest, RealMouseClickOnAButtonIsClicked) {
  UnitControl& button = Add(kButton, {10, 10, 100, 30}, forms::ButtonData{});
  SetWindowPos(parent_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(parent_);
  UpdateWindow(parent_);
  RECT rect;
  GetWindowRect(button.Handle(), &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  for (int i = 0; i < 50 && EventsOf(button.Handle()).empty(); ++i) {
    Pump();
    Sleep(10);
  }
  EXPECT_EQ(EventsOf(button.Handle()), std::vector<std::int32_t>{0});
}

TEST_F(KindsTest, ButtonTakesItsFontAndPicture) {
  forms::ButtonData data;
  forms::LogFont font;
  font.height = -12;
  font.weight = 700;
  font.charset = 134;
  data.font = font;
  data.picture = {30, 10};
  UnitControl& button = Add(kButton, {10, 10, 100, 30}, data);
  HFONT shown = reinterpret_cast<HFONT>(SendMessageA(button.Handle(), WM_GETFONT, 0, 0));
  LOGFONTA log{};
  ASSERT_TRUE(GetObjectA(shown, sizeof log, &log));
  EXPECT_EQ(log.lfWeight, 700);
  EXPECT_EQ(log.lfHeight, -12);
  EXPECT_TRUE(StyleOf(button.Handle()) & BS_BITMAP);
  EXPECT_NE(SendMessageA(button.Handle(), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  UnitControl& plain = Add(kButton, {10, 50, 100, 30}, forms::ButtonData{});
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(plain.Handle(), WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(KindsTest, GroupBoxAnswersItsParentWithItsBackColour) {
  forms::GroupBoxData data;
  data.backColor = RGB(10, 20, 30);
  UnitControl& group = Add(kGroupBox, {10, 10, 200, 100}, data);
  HDC dc = GetDC(group.Handle());
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(group.Handle())));
  ReleaseDC(group.Handle(), dc);
  LOGBRUSH log{};
  ASSERT_TRUE(GetObjectA(brush, sizeof log, &log));
  EXPECT_EQ(log.lbColor, RGB(10, 20, 30));
}

TEST_F(KindsTest, LabelFeedbackCarriesTheMessageArguments) {
  UnitControl& label = Add(kLabel, {10, 10, 100, 20}, forms::LabelData{});
  SendMessageA(label.Handle(), kFeedbackMessage, 0x80E9, 0);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].event.index, 0);
  EXPECT_EQ(events_[0].event.argumentCount, 2);
  EXPECT_EQ(events_[0].event.arguments[0], 0x80E9);
  EXPECT_EQ(events_[0].event.arguments[1], 0);
}

forms::LabelData LabelWith(const char* caption) {
  forms::LabelData data;
  data.caption = caption;
  return data;
}

TEST_F(KindsTest, LabelPaintsItsCaptionLeftAndCentredOnButtonFace) {
  UnitControl& label = Add(kLabel, {10, 10, 200, 40}, LabelWith("WWWW"));
  const Canvas canvas(label.Handle());
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(canvas.At(199, 0), face);
  EXPECT_GT(canvas.Count(RGB(0, 0, 0), 0, 0, 60, 40), 10) << "black text at the left";
  EXPECT_EQ(canvas.CountOther(face, 100, 0, 200, 40), 0) << "nothing on the right";
  EXPECT_EQ(canvas.CountOther(face, 0, 0, 200, 8), 0) << "vertically centred";
  EXPECT_EQ(canvas.CountOther(face, 0, 32, 200, 40), 0);
}

TEST_F(KindsTest, LabelAlignmentsAndColours) {
  forms::LabelData data = LabelWith("WWWW");
  data.settings[forms::LabelData::kHAlign] = 2;
  data.settings[forms::LabelData::kVAlign] = 0;
  data.settings[forms::LabelData::kBackColor] = RGB(0, 0, 255);
  data.settings[forms::LabelData::kTextColor] = RGB(255, 255, 0);
  UnitControl& label = Add(kLabel, {10, 10, 200, 40}, data);
  const Canvas canvas(label.Handle());
  const COLORREF back = RGB(0, 0, 255);
  EXPECT_EQ(canvas.CountOther(back, 0, 0, 120, 40), 0) << "nothing on the left";
  EXPECT_GT(canvas.Count(RGB(255, 255, 0), 140, 0, 200, 20), 10) << "yellow text top right";
  EXPECT_EQ(canvas.CountOther(back, 0, 24, 200, 40), 0) << "nothing at the bottom";
}

TEST_F(KindsTest, LabelShadowEffectDrawsBlackBehindTheText) {
  forms::LabelData data = LabelWith("WWWW");
  data.settings[forms::LabelData::kTextEffect] = 3;
  data.settings[forms::LabelData::kTextColor] = RGB(255, 255, 255);
  UnitControl& label = Add(kLabel, {10, 10, 200, 40}, data);
  const Canvas canvas(label.Handle());
  EXPECT_GT(canvas.Count(RGB(255, 255, 255), 0, 0, 80, 40), 10);
  EXPECT_GT(canvas.Count(RGB(0, 0, 0), 0, 0, 80, 40), 10);
}

TEST_F(KindsTest, LabelGradientFrameAndBorderStyles) {
  forms::LabelData data = LabelWith("");
  data.settings[forms::LabelData::kBorderStyle] = 6;  // own frame
  data.settings[forms::LabelData::kFrameWidth] = 3;   // reads as 5
  data.settings[forms::LabelData::kFrameColour1] = RGB(255, 0, 0);
  data.settings[forms::LabelData::kFrameColour2] = forms::kDefaultColour;
  data.settings[forms::LabelData::kFrameColour3] = RGB(0, 0, 255);
  data.settings[forms::LabelData::kBackColor] = RGB(0, 255, 0);
  UnitControl& label = Add(kLabel, {10, 10, 60, 40}, data);
  EXPECT_EQ(ReadInt(label, 3), 5);
  EXPECT_EQ(ExStyleOf(label.Handle()) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME), 0u);
  const Canvas canvas(label.Handle());
  EXPECT_EQ(canvas.At(0, 20), RGB(255, 0, 0)) << "outer ring in the first colour";
  EXPECT_EQ(canvas.At(4, 20), RGB(0, 0, 255)) << "inner ring in the last";
  EXPECT_EQ(canvas.At(5, 20), RGB(0, 255, 0)) << "background inside the frame";

  label.WriteProperty(3, runtime::ValueCell::Integer(3));
  EXPECT_EQ(ReadInt(label, 3), 5) << "a written width below 5 stores 5";

  struct Case {
    std::uint32_t style;
    DWORD ex;
    DWORD plain;
  };
  for (const Case c : {Case{1, WS_EX_CLIENTEDGE, 0}, Case{3, WS_EX_STATICEDGE, 0},
                       Case{4, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, 0}, Case{5, 0, WS_BORDER}, Case{0, 0, 0}}) {
    label.WriteProperty(2, runtime::ValueCell::Integer(static_cast<std::int32_t>(c.style)));
    EXPECT_EQ(ExStyleOf(label.Handle()) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME), c.ex) << c.style;
    EXPECT_EQ(StyleOf(label.Handle()) & WS_BORDER, c.plain) << c.style;
  }
}

TEST_F(KindsTest, LabelGradientBackgroundRunsThroughItsColoursInTheDrawingPanelsModes) {
  // The modes of the drawing panel's gradient fill: 1 down, 2 right, 5 up, 6 left, 3 along the
  // falling diagonal; from the first colour to the last.
  const struct {
    std::uint32_t mode;
    POINT first;
    POINT last;
  } cases[] = {{1, {50, 0}, {50, 100}}, {2, {0, 50}, {100, 50}}, {5, {50, 100}, {50, 0}},
               {6, {100, 50}, {0, 50}}, {3, {0, 0}, {100, 100}}};
  forms::LabelData data = LabelWith("");
  data.settings[forms::LabelData::kGradientColour1] = RGB(255, 0, 0);
  data.settings[forms::LabelData::kGradientColour2] = forms::kDefaultColour;
  data.settings[forms::LabelData::kGradientColour3] = RGB(0, 0, 255);
  for (const auto& c : cases) {
    data.settings[forms::LabelData::kGradientMode] = c.mode;
    UnitControl& label = Add(kLabel, {10, 10, 101, 101}, data);
    const Canvas canvas(label.Handle());
    EXPECT_EQ(canvas.At(c.first.x, c.first.y), RGB(255, 0, 0)) << c.mode;
    EXPECT_EQ(canvas.At(c.last.x, c.last.y), RGB(0, 0, 255)) << c.mode;
    const COLORREF middle = canvas.At(50, 50);
    EXPECT_NEAR(GetRValue(middle), 127, 2) << c.mode;
    EXPECT_NEAR(GetBValue(middle), 127, 2) << c.mode;
  }
  data.settings[forms::LabelData::kGradientMode] = 2;
  UnitControl& label = Add(kLabel, {10, 10, 101, 20}, data);

  // With one colour set there is no gradient: the back colour fills.
  label.WriteProperty(23 - 8, runtime::ValueCell::Integer(static_cast<std::int32_t>(forms::kDefaultColour)));
  label.WriteProperty(17 - 8, runtime::ValueCell::Integer(RGB(0, 255, 0)));
  const Canvas plain(label.Handle());
  EXPECT_EQ(plain.CountOther(RGB(0, 255, 0), 0, 0, 101, 20), 0);
}

TEST_F(KindsTest, LabelPaintsThroughItsOwnPaintRequest) {
  forms::LabelData data = LabelWith("");
  data.settings[forms::LabelData::kBackColor] = RGB(200, 0, 200);
  UnitControl& label = Add(kLabel, {10, 10, 60, 40}, data);
  UpdateWindow(label.Handle());
  HDC dc = GetDC(label.Handle());
  EXPECT_EQ(GetPixel(dc, 30, 20), RGB(200, 0, 200));
  ReleaseDC(label.Handle(), dc);
}

TEST_F(KindsTest, PictureBoxDisplayModes) {
  forms::PicBoxData data;
  data.backColor = RGB(255, 0, 0);
  data.picture = {40, 20};
  UnitControl& atCorner = Add(kPicBox, {10, 10, 74, 22}, data);
  {
    const Canvas canvas(atCorner.Handle());
    EXPECT_EQ(canvas.At(0, 0), kPictureColour);
    EXPECT_EQ(canvas.At(39, 19), kPictureColour);
    EXPECT_EQ(canvas.At(41, 10), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(10, 21), RGB(255, 0, 0));
  }
  data.displayMode = 2;
  data.picture = {100, 20};
  UnitControl& fitted = Add(kPicBox, {10, 40, 50, 50}, data);
  {
    const Canvas canvas(fitted.Handle());
    EXPECT_EQ(canvas.At(25, 25), kPictureColour);
    EXPECT_EQ(canvas.At(0, 20), kPictureColour);
    EXPECT_EQ(canvas.At(25, 18), RGB(255, 0, 0)) << "scaled to 50 x 10 and centred";
    EXPECT_EQ(canvas.At(25, 31), RGB(255, 0, 0));
  }
  data.displayMode = 1;
  UnitControl& stretched = Add(kPicBox, {10, 100, 50, 50}, data);
  {
    const Canvas canvas(stretched.Handle());
    EXPECT_EQ(canvas.Count(kPictureColour, 0, 0, 50, 50), 2500);
  }
  data.borderStyle = 1;
  data.picture.clear();
  UnitControl& edged = Add(kPicBox, {100, 100, 50, 50}, data);
  EXPECT_TRUE(ExStyleOf(edged.Handle()) & WS_EX_CLIENTEDGE);
  const Canvas canvas(edged.Handle());
  EXPECT_EQ(canvas.CountOther(RGB(255, 0, 0), 0, 0, canvas.width(), canvas.height()), 0) << "no picture: back colour";
}

// The window's units as the runtime would give them: records that a test edits as it goes.
class FakeUnits final : public UnitLookup {
 public:
  std::map<forms::UnitId, HWND> handles;
  std::vector<forms::UnitId> children;
  std::map<forms::UnitId, bool> visible;
  HWND Handle(forms::UnitId id) const override {
    const auto at = handles.find(id);
    return at == handles.end() ? nullptr : at->second;
  }
  std::vector<forms::UnitId> Children(HWND) const override { return children; }
  bool MarkedVisible(forms::UnitId id) const override {
    const auto at = visible.find(id);
    return at == visible.end() || at->second;
  }
};

TEST_F(KindsTest, PageControlShowsOnePageAtATime) {
  UnitControl& first = Add(kButton, {10, 40, 50, 20});
  UnitControl& second = Add(kButton, {70, 40, 50, 20});
  forms::PageControlData data;
  data.pages.resize(2);
  data.pages[0].caption = "主持人专用";
  data.pages[1].caption = "自定义音效";
  UnitControl& pages = Add(kPageControl, {0, 0, 300, 200}, data, {0x16010001, 0, 0x16010002, 0});
  FakeUnits units;
  units.handles = {{0x16010001, first.Handle()}, {0x16010002, second.Handle()}};
  units.children = {0x16010001, 0, 0x16010002, 0};
  pages.AllUnitsCreated(units);
  EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  pages.WriteProperty(4, runtime::ValueCell::Integer(1));
  EXPECT_EQ(ReadInt(pages, 4), 1);
  EXPECT_FALSE(IsWindowVisible(first.Handle()));
  EXPECT_TRUE(IsWindowVisible(second.Handle()));
  EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETCURSEL, 0, 0), 1);

  // The user picks the first tab.
  SetFocus(pages.Handle());
  SendMessageA(pages.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(ReadInt(pages, 4), 0);
  EXPECT_TRUE(IsWindowVisible(first.Handle()));
  EXPECT_FALSE(IsWindowVisible(second.Handle()));
  pages.WriteProperty(4, runtime::ValueCell::Integer(5));
  EXPECT_EQ(ReadInt(pages, 4), 0) << "no such page";

  // A unit hidden while its page is away stays hidden when the page comes back.
  pages.WriteProperty(4, runtime::ValueCell::Integer(1));
  units.visible[0x16010001] = false;
  pages.WriteProperty(4, runtime::ValueCell::Integer(0));
  EXPECT_FALSE(IsWindowVisible(first.Handle()));

  // A unit that joined the second page after loading (a copy, a unit made anew) switches with it.
  UnitControl& joined = Add(kButton, {130, 40, 50, 20});
  units.handles[0x16010003] = joined.Handle();
  units.children = {0x16010001, 0, 0x16010002, 0x16010003, 0};
  EXPECT_TRUE(IsWindowVisible(joined.Handle()));
  pages.WriteProperty(4, runtime::ValueCell::Integer(0));
  EXPECT_FALSE(IsWindowVisible(joined.Handle())) << "a unit that joined later escaped the switch";
  pages.WriteProperty(4, runtime::ValueCell::Integer(1));
  EXPECT_TRUE(IsWindowVisible(joined.Handle()));
}

TEST_F(KindsTest, CommonDialogKeepsItsSettings) {
  forms::CommonDlgData data;
  data.texts[forms::CommonDlgData::kTitle] = "选择自定义音效";
  data.texts[forms::CommonDlgData::kInitialDirectory] = "data/music";
  data.settings[forms::CommonDlgData::kFileMustExist] = 1;
  UnitControl& dialog = Add(kCommonDlg, {0, 0, 0, 0}, data);
  EXPECT_EQ(ReadText(dialog, 2), "");
  const runtime::TextValue path("C:\\a.mp3");
  EXPECT_EQ(dialog.WriteProperty(2, runtime::ValueCell::Text(path.block())), UnitControl::WriteOutcome::Done);
  EXPECT_EQ(ReadText(dialog, 2), "C:\\a.mp3");
  EXPECT_EQ(ReadText(dialog, 1), "选择自定义音效");
  EXPECT_EQ(ReadText(dialog, 5), "data/music");
  runtime::Value mustExist;
  ASSERT_TRUE(dialog.ReadProperty(8, mustExist));
  EXPECT_EQ(mustExist.tag(), runtime::tags::Bool);
  EXPECT_EQ(mustExist.cell().low, 1u);
  runtime::Value none;
  EXPECT_FALSE(dialog.ReadProperty(30, none));
}

}  // namespace
}  // namespace controls
