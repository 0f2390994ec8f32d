// The forms runtime with real windows and real messages: the board's resource relocated against
// a recording handler table, and a small resource of its own where the board binds too little.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "forms/carried_resource.h"
#include "forms/forms_runtime_win.h"
#include "forms/input_mapping.h"
#include "forms/kinds.h"
#include "forms/property_rules.h"
#include "forms/tests/resource_builder.h"
#include "forms/unit_commands.h"
#include "runtime/tests/test_support.h"

namespace forms {
namespace {

using runtime::UnitRef;

constexpr WindowId kMain = 0x52010001;
constexpr WindowId kDialog = 0x52010D88;
constexpr UnitId kMainUnit = 0x06010000;
constexpr UnitId kDialogUnit = 0x06010D89;
constexpr UnitId kSound1 = 0x1601662F, kSound2 = 0x16016630;
constexpr UnitId kCombo = 0x16016618, kSlider = 0x16016619, kHotkeyLabel = 0x16016617;
constexpr UnitId kPicBox1 = 0x1601672B, kPageControl = 0x1601662E;
constexpr UnitId kDialogOk = 0x16010D8B;
constexpr UnitId kGroupBox = 0x16016BCB;

// Board slots (forms/layout/windows.layout order).
enum Slot : std::size_t {
  kMainCreated = 1, kOpenContact1 = 4, kSoundPlay = 8, kVolumeChanged = 12, kChannelSelected = 13,
  kHotkeyPressed = 14, kDialogCreated = 15, kDialogCancelHandler = 16, kDialogOkHandler = 17, kSlots = 18
};

struct Call {
  std::size_t slot;
  std::vector<std::int32_t> arguments;
};
std::vector<Call> calls;
std::array<std::function<HandlerReturn()>, kSlots> actions;

template <std::size_t Slot>
HandlerReturn Handler(std::span<const std::int32_t> arguments) {
  calls.push_back({Slot, {arguments.begin(), arguments.end()}});
  return actions[Slot] ? actions[Slot]() : NoResult();
}
template <std::size_t... Slots>
constexpr std::array<EventHandler, sizeof...(Slots)> MakeTable(std::index_sequence<Slots...>) {
  return {&Handler<Slots>...};
}
const auto kTable = MakeTable(std::make_index_sequence<kSlots>());

UnitRef Unit(WindowId window, UnitId unit) {
  const UnitRecord* record = ProcessWindowDefinitions().Resource().FindUnit(window, unit);
  return {static_cast<std::int32_t>(window), static_cast<std::int32_t>(unit), record ? record->kind : 0};
}
UnitRef WindowRef(WindowId window) {
  return Unit(window, window == kMain ? kMainUnit : kDialogUnit);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::size_t CallsOf(std::size_t slot) {
  std::size_t count = 0;
  for (const Call& call : calls) count += call.slot == slot;
  return count;
}

runtime::RuntimeApp& App() {
  static runtime::RuntimeApp* app = [] {
    auto* made = new runtime::RuntimeApp;  // lives as long as the test program
    FormsRuntime::Instance().Install(*made, kTable);
    made->Initialise(runtime::ProgramDescriptor{});
    return made;
  }();
  return *app;
}

class FormsRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Read(std::as_bytes(CarriedWindowResource()));
    calls.clear();
    actions = {};
  }
  void TearDown() override {
    forms().DestroyAllWindows();
    Pump();
    actions = {};
  }
  static void Read(std::span<const std::byte> bytes) {
    ProcessWindowDefinitions().Read(bytes, HandlerTableCodeBase(kTable));
  }
  static FormsRuntime& forms() { return FormsRuntime::Instance(); }
  static HWND Handle(WindowId window, UnitId unit) { return forms().UnitHandle(window, unit); }
  static std::int32_t ReadInt(WindowId window, UnitId unit, int property) {
    return forms().ReadProperty(window, unit, property).cell().AsInteger();
  }
  static std::string ReadText(WindowId window, UnitId unit, int property) {
    return std::string(forms().ReadProperty(window, unit, property).text().view());
  }
  static void WriteInt(WindowId window, UnitId unit, int property, std::int32_t value) {
    forms().WriteProperty(window, unit, property, runtime::ValueCell::Integer(value));
  }
  static void LoadMain() { ASSERT_TRUE(forms().LoadWindow(kMain, 0, false)); }
};

TEST_F(FormsRuntimeTest, MainWindowCreatedWithAllUnitsBeforeItShows) {
  std::size_t unitsWithWindows = 0;
  bool visibleAtCreated = true;
  actions[kMainCreated] = [&] {
    const WindowRecord* main = ProcessWindowDefinitions().Resource().WindowById(kMain);
    for (std::size_t i = 0; i < main->units.Count(); ++i) unitsWithWindows += Handle(kMain, main->units.IdAt(i)) != nullptr;
    visibleAtCreated = IsWindowVisible(Handle(kMain, 0)) != FALSE;
    return NoResult();
  };
  LoadMain();
  EXPECT_EQ(unitsWithWindows, 262u);  // every unit but the window-less common dialog
  EXPECT_FALSE(visibleAtCreated);
  HWND main = Handle(kMain, 0);
  EXPECT_TRUE(IsWindowVisible(main));

  // Frameless and centred: no caption although the system gives an unowned window one.
  const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_BORDER), 0);
  RECT rect;
  GetWindowRect(main, &rect);
  EXPECT_EQ(rect.right - rect.left, 472);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 472) / 2);

  // Control ids in creation order: the last unit of the list is made first.
  EXPECT_EQ(GetDlgCtrlID(Handle(kMain, kGroupBox)), 100);
  EXPECT_EQ(GetDlgCtrlID(Handle(kMain, kHotkeyLabel)), 110);
  // Re-parented to their containers; only the first page shows.
  EXPECT_EQ(GetParent(Handle(kMain, 0x16016BCC)), Handle(kMain, kGroupBox));
  EXPECT_TRUE(IsWindowVisible(Handle(kMain, kSound1)));
  HWND page2 = Handle(kMain, 0x1601662E + 47);
  EXPECT_FALSE(IsWindowVisible(page2));
  EXPECT_FALSE(IsWindowVisible(Handle(kMain, kHotkeyLabel)));
  WriteInt(kMain, kPageControl, 12, 1);
  EXPECT_TRUE(IsWindowVisible(page2));
  EXPECT_FALSE(IsWindowVisible(Handle(kMain, kSound1)));
  EXPECT_EQ(ReadInt(kMain, kPageControl, 12), 1);
}

TEST_F(FormsRuntimeTest, RedirectedClickNamesTheClickedButton) {
  LoadMain();
  UnitRef seen;
  actions[kSoundPlay] = [&] {
    seen = GetEventUnitRef();
    return NoResult();
  };
  EXPECT_TRUE(RedirectEvents(Unit(kMain, kSound2), Unit(kMain, kSound1)));
  EXPECT_FALSE(RedirectEvents(Unit(kMain, kSound2), Unit(kMain, kCombo)));
  EXPECT_FALSE(RedirectEvents(Unit(kMain, kSound2), Unit(kDialog, kDialogOk)));
  // A unit the window does not hold fails and leaves every redirect as it was.
  const UnitRef stranger{static_cast<std::int32_t>(kMain), static_cast<std::int32_t>(kDialogOk), kind_ids::kButton};
  EXPECT_FALSE(RedirectEvents(stranger, std::nullopt));
  SendMessageA(Handle(kMain, kSound2), BM_CLICK, 0, 0);
  ASSERT_EQ(CallsOf(kSoundPlay), 1u);
  EXPECT_EQ(seen, Unit(kMain, kSound2));
  EXPECT_EQ(seen.kind, kind_ids::kButton);

  // Clearing every redirect of the window through its own unit.
  EXPECT_TRUE(RedirectEvents(WindowRef(kMain), std::nullopt));
  SendMessageA(Handle(kMain, kSound2), BM_CLICK, 0, 0);
  EXPECT_EQ(CallsOf(kSoundPlay), 1u);
}

TEST_F(FormsRuntimeTest, CodeWritesRaiseNothingButTheUsersSelectionDoesAfterItSettles) {
  LoadMain();
  HWND combo = Handle(kMain, kCombo);
  for (const char* item : {"无", "设备一", "设备二"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  WriteInt(kMain, kCombo, 19, 7);
  EXPECT_EQ(ReadInt(kMain, kCombo, 19), 2);
  WriteInt(kMain, kCombo, 19, -5);
  EXPECT_EQ(ReadInt(kMain, kCombo, 19), -1);
  WriteInt(kMain, kSlider, 19, 40000);
  EXPECT_EQ(ReadInt(kMain, kSlider, 19), 32767);
  EXPECT_EQ(SendMessageA(Handle(kMain, kSlider), TBM_GETPOS, 0, 0), 100);
  Pump();
  EXPECT_EQ(CallsOf(kChannelSelected) + CallsOf(kVolumeChanged), 0u);

  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  SendMessageA(Handle(kMain, 0), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(CallsOf(kChannelSelected), 0u);
  Pump();
  EXPECT_EQ(CallsOf(kChannelSelected), 1u);

  HWND slider = Handle(kMain, kSlider);
  std::int32_t positionSeen = -1;
  actions[kVolumeChanged] = [&] {
    positionSeen = ReadInt(kMain, kSlider, 19);
    return NoResult();
  };
  SendMessageA(slider, TBM_SETPOS, TRUE, 30);
  SendMessageA(Handle(kMain, 0), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 30), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(positionSeen, 30);
  SendMessageA(Handle(kMain, 0), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(CallsOf(kVolumeChanged), 1u);
}

TEST_F(FormsRuntimeTest, ACreationStyleRemakesTheControlInPlaceQuietly) {
  LoadMain();
  HWND old = Handle(kMain, kCombo);
  for (const char* item : {"无", "设备一", "设备二"}) SendMessageA(old, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  const int id = GetDlgCtrlID(old);
  HWND below = GetWindow(old, GW_HWNDNEXT);
  calls.clear();
  WriteInt(kMain, kCombo, 8, 1);  // ComboType: a drop-down with an edit field
  Pump();
  HWND made = Handle(kMain, kCombo);
  ASSERT_NE(made, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetWindowLongPtrA(made, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(SendMessageA(made, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(GetDlgCtrlID(made), id);
  EXPECT_EQ(GetWindow(made, GW_HWNDNEXT), below);
  EXPECT_TRUE(IsWindowVisible(made));
  EXPECT_TRUE(calls.empty());
  // The new control raises its events like the old one.
  SendMessageA(Handle(kMain, 0), WM_COMMAND, MAKEWPARAM(id, CBN_DROPDOWN), reinterpret_cast<LPARAM>(made));
  SendMessageA(Handle(kMain, 0), WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(made));
  Pump();
  EXPECT_EQ(CallsOf(kChannelSelected), 1u);
}

TEST_F(FormsRuntimeTest, RecordKeptValuesSurviveAClosedWindow) {
  const std::string tag = "Ctrl+Alt+F5";
  forms().WriteProperty(kDialog, kDialogOk, 4, runtime::ValueCell::Text(tag.c_str()));
  WriteInt(kDialog, kDialogOk, 2, 40000);
  WriteInt(kDialog, kDialogOk, 0, -40000);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 2), 32627);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 0), -32627);
  WriteInt(kDialog, kDialogOk, 2, -3);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 2), 0);
  WriteInt(kDialog, kDialogOk, 2, 88);
  WriteInt(kDialog, kDialogOk, 0, 24);

  LoadMain();
  ASSERT_TRUE(forms().LoadWindow(kDialog, kMain, false));
  EXPECT_EQ(ReadText(kDialog, kDialogOk, 4), tag);
  // A popup owned by the board, tool window, top-most.
  HWND dialog = Handle(kDialog, 0);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), Handle(kMain, 0));
  EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Live geometry reads the control, in its parent's client coordinates.
  WriteInt(kDialog, kDialogOk, 1, 60);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 1), 60);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 0), 24);

  // The captions the board rewrites: the dialog's title and a button's caption.
  forms().WriteProperty(kDialog, 0, 8, runtime::ValueCell::Text("修改快捷键:群众笑声"));
  char title[64] = {};
  GetWindowTextA(dialog, title, sizeof title);
  EXPECT_STREQ(title, "修改快捷键:群众笑声");
  EXPECT_EQ(ReadText(kDialog, 0, 8), "修改快捷键:群众笑声");
  forms().WriteProperty(kDialog, kDialogOk, 10, runtime::ValueCell::Text("好"));
  EXPECT_EQ(ReadText(kDialog, kDialogOk, 10), "好");

  DestroyUnit(WindowRef(kDialog));
  EXPECT_TRUE(IsUnitValid(WindowRef(kDialog)));  // the close completes later
  Pump();
  EXPECT_FALSE(IsUnitValid(WindowRef(kDialog)));
  EXPECT_EQ(ReadText(kDialog, kDialogOk, 4), tag);
  EXPECT_EQ(ReadInt(kDialog, kDialogOk, 1), 60);
}

TEST_F(FormsRuntimeTest, EnumeratesTheSoundButtonsInResourceOrder) {
  EnumerateOptions options;
  options.namePrefix = "按钮_音效";
  options.kindName = "按钮";
  EXPECT_EQ(EnumerateUnits(WindowRef(kMain), options), nullptr);  // not loaded
  LoadMain();
  auto sounds = EnumerateUnits(WindowRef(kMain), options);
  ASSERT_EQ(CollectionCount(sounds.get()), 218);
  const UnitList& units = ProcessWindowDefinitions().Resource().WindowById(kMain)->units;
  std::vector<UnitId> expected;
  for (std::size_t i = 0; i < units.Count(); ++i) {
    if (units.Record(i).name.starts_with("按钮_音效")) expected.push_back(units.IdAt(i));
  }
  std::vector<UnitId> got;
  for (std::int32_t i = 0; i < 218; ++i) got.push_back(static_cast<UnitId>(CollectionItem(sounds.get(), i).unit_id));
  EXPECT_EQ(got, expected);
  EXPECT_EQ(CollectionItem(sounds.get(), 218), (UnitRef{0, 0, kind_ids::kWindow}));
  FreeCollection(sounds);

  // Units of the page control only, by numeric tag.
  forms().WriteProperty(kMain, kSound2, 4, runtime::ValueCell::Text("12"));
  options.namePrefix.reset();
  options.smallestTag = 10;
  options.largestTag = 20;
  auto tagged = EnumerateUnits(Unit(kMain, kPageControl), options);
  ASSERT_EQ(CollectionCount(tagged.get()), 1);
  EXPECT_EQ(CollectionItem(tagged.get(), 0), Unit(kMain, kSound2));
  EXPECT_EQ(std::string(GetUnitName(Unit(kMain, kSound2)).view()), "按钮_音效2");
}

TEST_F(FormsRuntimeTest, CommonAndFeedbackEventsCarryTheirArguments) {
  LoadMain();
  SendMessageA(Handle(kMain, kPicBox1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
  ASSERT_EQ(CallsOf(kOpenContact1), 1u);
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{5, 7, 0}));

  actions[kHotkeyPressed] = [] { return Result(42); };
  EXPECT_EQ(SendMessageA(Handle(kMain, kHotkeyLabel), 0x8075, 0x80E9, 0), 42);
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{0x80E9, 0}));
}

TEST_F(FormsRuntimeTest, EscClosesTheModalDialogWithoutItsButtonHandlers) {
  LoadMain();
  actions[kDialogCreated] = [&] {
    PostMessageA(Handle(kDialog, 0), WM_KEYDOWN, VK_ESCAPE, 0);
    return NoResult();
  };
  EXPECT_TRUE(forms().LoadWindow(kDialog, kMain, true));
  EXPECT_FALSE(forms().IsLoaded(kDialog));
  EXPECT_EQ(CallsOf(kDialogCancelHandler) + CallsOf(kDialogOkHandler), 0u);
  // Enabled again before the dialog went, so the board got the activation back.
  EXPECT_TRUE(IsWindowEnabled(Handle(kMain, 0)));
  EXPECT_EQ(GetActiveWindow(), Handle(kMain, 0));
}

TEST_F(FormsRuntimeTest, DialogClosedFromItsOwnHandlerGoesAfterTheHandler) {
  LoadMain();
  bool mainDisabledInDialog = false;
  bool validAfterDestroy = false;
  actions[kDialogCreated] = [&] {
    PostMessageA(Handle(kDialog, kDialogOk), BM_CLICK, 0, 0);
    return NoResult();
  };
  actions[kDialogOkHandler] = [&] {
    mainDisabledInDialog = !IsWindowEnabled(Handle(kMain, 0));
    DestroyUnit(WindowRef(kDialog));
    validAfterDestroy = IsUnitValid(WindowRef(kDialog));
    return NoResult();
  };
  EXPECT_TRUE(forms().LoadWindow(kDialog, kMain, true));
  EXPECT_EQ(CallsOf(kDialogOkHandler), 1u);
  EXPECT_TRUE(mainDisabledInDialog);
  EXPECT_TRUE(validAfterDestroy);
  EXPECT_FALSE(forms().IsLoaded(kDialog));
  EXPECT_TRUE(IsWindowEnabled(Handle(kMain, 0)));
}

TEST_F(FormsRuntimeTest, ClosingAtOnceIsDoneWhenTheCallReturns) {
  LoadMain();
  ASSERT_TRUE(forms().LoadWindow(kDialog, kMain, false));
  DestroyUnit(WindowRef(kDialog));
  EXPECT_TRUE(forms().IsLoaded(kDialog));  // posted: still there until the queue runs
  Pump();
  EXPECT_FALSE(forms().IsLoaded(kDialog));

  ASSERT_TRUE(forms().LoadWindow(kDialog, kMain, false));
  const HWND dialog = Handle(kDialog, 0);
  DestroyUnit(WindowRef(kDialog), true);
  EXPECT_FALSE(forms().IsLoaded(kDialog));
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(FormsRuntimeTest, AccessErrors) {
  runtime::testing::ErrorCapture capture;
  EXPECT_THROW(ReadInt(0x52019999, 0, 0), runtime::testing::FatalEnd);
  EXPECT_THROW(ReadText(kDialog, kDialogOk, 10), runtime::testing::FatalEnd);  // kind property, not loaded
  EXPECT_THROW(GetEventUnitRef(), runtime::testing::FatalEnd);
  ASSERT_EQ(capture.reports.size(), 3u);
  EXPECT_EQ(capture.reports[0].text, kWindowNotLoadedForAccess);
  EXPECT_EQ(capture.reports[1].text, kWindowNotLoaded);
  EXPECT_EQ(capture.reports[2].text, kEventUnitOutsideHandler);
  EXPECT_FALSE(forms().LoadWindow(kDialog, kMain, false));  // the owner is not loaded
}

// A window of its own: the board binds no Moved, Resized or LeftButtonDown of a button.
class SmallWindowTest : public FormsRuntimeTest {
 protected:
  void SetUp() override {
    FormsRuntimeTest::SetUp();
    using testing::TestUnit;
    TestUnit window;
    window.id = kMainUnit;
    window.kind = kind_ids::kWindow;
    window.name = "";
    window.left = 10;
    window.top = 10;
    window.width = 200;
    window.height = 150;
    window.flags = 1;
    window.events = {{0, 0}, {3, 1}, {4, 2}, {1, 3}, {7, 6}, {10, 7}, {11, 8}};
    TestUnit button;
    button.id = 0x16010001;
    button.name = "b";
    button.width = 80;
    button.height = 24;
    button.events = {{-1, 4}, {0, 5}, {-9, 9}, {-11, 10}, {-7, 11}};
    button.kindData = testing::ButtonData("b");
    TestUnit second = button;
    second.id = 0x16010002;
    second.name = "c";
    second.top = 40;
    second.events = {};
    TestUnit label;
    label.id = 0x16010003;
    label.kind = kind_ids::kLabel;
    label.name = "l";
    label.top = 80;
    label.flags = 1;  // no tab stop
    label.events = {};
    units_ = {window, button, second, label};
    bytes_ = testing::ResourceBytes({testing::WindowOf(kMain, units_)}).data;
    Read(std::as_bytes(std::span(bytes_)));
  }
  std::vector<testing::TestUnit> units_;
  std::vector<std::uint8_t> bytes_;
};

TEST_F(SmallWindowTest, AUnitThatCannotBeCreatedFailsTheLoadAndLeavesNothing) {
  // The second button's settings claim a version this program cannot read.
  units_[2].kindData = testing::ButtonData("c", 9);
  bytes_ = testing::ResourceBytes({testing::WindowOf(kMain, units_)}).data;
  Read(std::as_bytes(std::span(bytes_)));
  const std::size_t windowsBefore = forms().LoadedWindows().size();
  EXPECT_FALSE(forms().LoadWindow(kMain, 0, false));
  EXPECT_FALSE(forms().IsLoaded(kMain));
  EXPECT_EQ(forms().LoadedWindows().size(), windowsBefore);
  EXPECT_FALSE(IsUnitValid(WindowRef(kMain)));
  EXPECT_EQ(GetWindowHandle(Unit(kMain, 0x16010001)), nullptr);
  EXPECT_TRUE(calls.empty());
}

TEST_F(SmallWindowTest, LoadingALoadedWindowKeepsIt) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HWND first = Handle(kMain, 0);
  EXPECT_TRUE(forms().LoadWindow(kMain, 0, false));
  EXPECT_EQ(Handle(kMain, 0), first);
  EXPECT_EQ(CallsOf(0), 1u);  // Created once
  EXPECT_EQ(GetWindowHandle(Unit(kMain, 0x16010001)), Handle(kMain, 0x16010001));
}

TEST_F(SmallWindowTest, CreatedThenMovedThenResizedOnceEach) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  Pump();
  std::vector<std::size_t> order;
  for (const Call& call : calls) {
    if (call.slot <= 2 || call.slot == 7) order.push_back(call.slot);
  }
  EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 7}));  // Created, Moved, Resized, Shown
  SetWindowPos(Handle(kMain, 0), nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(CallsOf(1), 2u);
}

TEST_F(SmallWindowTest, AButtonDownHandlerReturningNothingDoesNotSwallowTheClick) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HWND button = Handle(kMain, 0x16010001);
  auto click = [&] {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  };
  click();
  EXPECT_EQ(CallsOf(4), 1u);
  EXPECT_EQ(CallsOf(5), 1u);
  actions[4] = [] { return Result(0); };
  click();
  EXPECT_EQ(CallsOf(4), 2u);
  EXPECT_EQ(CallsOf(5), 1u);  // swallowed: the button never went down
}

TEST_F(SmallWindowTest, CloseRequestReturningZeroKeepsTheWindow) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  actions[3] = [] { return Result(0); };
  SendMessageA(Handle(kMain, 0), WM_CLOSE, 0, 0);
  EXPECT_TRUE(forms().IsLoaded(kMain));
  EXPECT_EQ(SendMessageA(Handle(kMain, 0), WM_QUERYENDSESSION, 0, 0), FALSE);
  actions[3] = nullptr;
  SendMessageA(Handle(kMain, 0), WM_CLOSE, 0, 0);
  EXPECT_FALSE(forms().IsLoaded(kMain));
  EXPECT_EQ(CallsOf(3), 3u);
}

TEST_F(SmallWindowTest, KeyEventsTabAndCharacterArguments) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HWND first = Handle(kMain, 0x16010001);
  HWND second = Handle(kMain, 0x16010002);
  SetFocus(first);
  EXPECT_EQ(CallsOf(11), 1u);  // GotFocus

  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(first, WM_KEYDOWN, VK_NUMPAD5, 0);
  ASSERT_EQ(CallsOf(9), 1u);
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{0x35, key_state::kCtrl}));
  SendMessageA(first, WM_KEYDOWN, VK_CONTROL, 0);
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{VK_CONTROL, 0}));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);

  // Tab goes to the next unit with a tab stop in list order, past the label, and wraps round.
  SendMessageA(first, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), second);
  SendMessageA(second, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), first);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(first, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), second);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);

  SendMessageA(first, WM_CHAR, 'x', 0);
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{'x'}));
}

TEST_F(SmallWindowTest, IdleEventAndItsAnswer) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  auto& raiseIdle = App().Hooks().loop.raiseIdleEvent;
  EXPECT_FALSE(raiseIdle(kMain, 25));  // returns nothing: no more idle calls this period
  EXPECT_EQ(calls.back().arguments, (std::vector<std::int32_t>{25}));
  actions[6] = [] { return Result(1); };
  EXPECT_TRUE(raiseIdle(kMain, 30));
  EXPECT_EQ(App().Hooks().loop.loadedWindowIds(), (std::vector<std::uint32_t>{kMain}));
}

TEST_F(SmallWindowTest, VisibleDisabledAndCursorProperties) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HWND button = Handle(kMain, 0x16010001);
  WriteInt(kMain, 0x16010001, 6, 1);
  EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_EQ(ReadInt(kMain, 0x16010001, 6), 1);
  WriteInt(kMain, 0x16010001, 5, 0);
  EXPECT_FALSE(IsWindowVisible(button));
  WriteInt(kMain, 0, 5, 0);
  EXPECT_EQ(CallsOf(8), 1u);  // Hidden

  // The hand cursor as 4 stored bytes; shown over the unit's client area.
  const std::uint8_t hand[] = {0x89, 0x7F, 0, 0};
  runtime::ByteSet bytes(hand);
  forms().WriteProperty(kMain, 0x16010002, 7, runtime::ValueCell::ByteSet(bytes.block()));
  HWND second = Handle(kMain, 0x16010002);
  EXPECT_EQ(SendMessageA(second, WM_SETCURSOR, reinterpret_cast<WPARAM>(second), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  EXPECT_EQ(forms().ReadProperty(kMain, 0x16010002, 7).bytes().size(), 4u);

  // Flags written while loaded stay for the next load.
  forms().DestroyAllWindows();
  EXPECT_EQ(ReadInt(kMain, 0x16010001, 6), 1);
  EXPECT_EQ(ReadInt(kMain, 0x16010001, 5), 0);
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  EXPECT_FALSE(IsWindowEnabled(Handle(kMain, 0x16010001)));
}

TEST_F(SmallWindowTest, AMenuItemAheadOfTheControlsLeavesEachControlItsOwnSettings) {
  units_[2].kindData = testing::ButtonData("c");
  std::vector<UnitId> ids{units_[0].id, 0x20010001};
  std::vector<testing::Bytes> bodies{testing::RecordBody(units_[0]),
                                     testing::MenuItemBody(kind_ids::kMenuItem, "m", 0, "文件", -1, 0)};
  for (std::size_t i = 1; i < units_.size(); ++i) {
    ids.push_back(units_[i].id);
    bodies.push_back(testing::RecordBody(units_[i]));
  }
  bytes_ = testing::ResourceBytes({{kMain, static_cast<std::uint32_t>(ids.size()), testing::UnitListBytes(ids, bodies)}}).data;
  Read(std::as_bytes(std::span(bytes_)));
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  char text[16] = {};
  GetWindowTextA(Handle(kMain, 0x16010001), text, sizeof text);
  EXPECT_STREQ(text, "b");
  GetWindowTextA(Handle(kMain, 0x16010002), text, sizeof text);
  EXPECT_STREQ(text, "c");
  EXPECT_NE(GetMenu(Handle(kMain, 0)), nullptr);
}

// A window loaded hidden and shown later through its Visible property starts as stored: here
// minimized.
TEST_F(SmallWindowTest, ShowingAHiddenWindowThroughVisibleTakesItsStartPosition) {
  testing::Bytes settings;
  settings.U32(1);
  for (std::uint32_t field : {0u, 0u, 0xFF000000u, 0u, 1u, 1u, 2u /* minimized */, 1u, 0u, 0u, 1u, 0u, 0u}) {
    settings.U32(field);
  }
  settings.Counted(std::string()).Counted(std::string()).Counted(std::string()).Counted(std::string("w")).Counted(std::string());
  units_[0].kindData = settings.data;
  units_[0].flags = 0;
  bytes_ = testing::ResourceBytes({testing::WindowOf(kMain, units_)}).data;
  Read(std::as_bytes(std::span(bytes_)));
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  EXPECT_FALSE(IsWindowVisible(Handle(kMain, 0)));
  WriteInt(kMain, 0, common_property::kVisible, 1);
  EXPECT_TRUE(IsWindowVisible(Handle(kMain, 0)));
  EXPECT_TRUE(IsIconic(Handle(kMain, 0))) << "shown without the stored start position";
}

// A window with a menu: a submenu with a shortcut item, a separator and a disabled item with a
// shortcut; a hidden item; a checked item.
class MenuWindowTest : public SmallWindowTest {
 protected:
  static constexpr UnitId kFile = 0x20010001, kOpen = 0x20010002, kSave = 0x20010004,
                          kHidden = 0x20010005, kOnTop = 0x20010006;
  void SetUp() override {
    SmallWindowTest::SetUp();
    std::vector<UnitId> ids;
    std::vector<testing::Bytes> bodies;
    for (const auto& unit : units_) {
      ids.push_back(unit.id);
      bodies.push_back(testing::RecordBody(unit));
    }
    const auto item = [&](UnitId id, std::uint32_t level, std::uint32_t flags, const std::string& caption,
                          std::int32_t handler, std::uint32_t shortcut) {
      ids.push_back(id);
      bodies.push_back(testing::MenuItemBody(kind_ids::kMenuItem, "m", flags, caption, handler, level, shortcut));
    };
    item(kFile, 0, 0, "文件", -1, 0);
    item(kOpen, 1, 0, "打开", 12, 0x10000 | 'O');  // Ctrl+O
    item(0x20010003, 1, 0, "-", -1, 0);
    item(kSave, 1, 2, "保存", 13, VK_F5);
    item(kHidden, 0, 1, "隐藏", 14, 0);
    item(kOnTop, 0, 4, "置顶", 15, 0);
    bytes_ = testing::ResourceBytes({{kMain, static_cast<std::uint32_t>(ids.size()), testing::UnitListBytes(ids, bodies)}}).data;
    Read(std::as_bytes(std::span(bytes_)));
  }
  static std::string Text(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
  }
  static void Command(UINT id, WORD source = 0) {
    SendMessageA(Handle(kMain, 0), WM_COMMAND, MAKEWPARAM(id, source), 0);
  }
};

TEST_F(MenuWindowTest, TheMenuShowsTheItemsAndAChoiceRunsTheItemsHandler) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HMENU bar = GetMenu(Handle(kMain, 0));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);  // the hidden item is left out
  EXPECT_EQ(Text(bar, 1), "置顶");
  EXPECT_TRUE(GetMenuState(bar, 1, MF_BYPOSITION) & MF_CHECKED);
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(Text(file, 0), "打开\tCtrl+O");
  EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);

  UnitRef seen;
  actions[12] = [&] {
    seen = GetEventUnitRef();
    return NoResult();
  };
  Command(GetMenuItemID(file, 0));
  ASSERT_EQ(CallsOf(12), 1u);
  EXPECT_EQ(seen, (UnitRef{static_cast<std::int32_t>(kMain), static_cast<std::int32_t>(kOpen), kind_ids::kMenuItem}));
  Command(GetMenuItemID(file, 2), 1);  // disabled: not even through its accelerator
  EXPECT_EQ(CallsOf(13), 0u);
  {
    EventSuppression quiet;
    Command(GetMenuItemID(file, 0));
  }
  EXPECT_EQ(CallsOf(12), 1u);
}

TEST_F(MenuWindowTest, AcceleratorKeysGoThroughTheMessageLoop) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  HWND button = Handle(kMain, 0x16010001);
  SetFocus(button);
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(button, WM_KEYDOWN, VK_F5, 0);  // the disabled item's key
  PostMessageA(button, WM_KEYDOWN, 'O', 0);
  actions[12] = [] {
    DestroyUnit(WindowRef(kMain));
    return NoResult();
  };
  App().Loop().RunModal(Handle(kMain, 0));
  SetKeyboardState(std::array<BYTE, 256>{}.data());
  EXPECT_EQ(CallsOf(12), 1u);
  EXPECT_EQ(CallsOf(13), 0u);
  // Ctrl+O was taken by the menu; the unit never saw it as a key.
  for (const Call& call : calls) {
    if (call.slot == 9) {
      EXPECT_NE(call.arguments.at(0), 'O');
    }
  }
  EXPECT_FALSE(forms().IsLoaded(kMain));
}

TEST_F(MenuWindowTest, ItemPropertiesChangeTheLiveMenuAndOutliveTheWindow) {
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  EXPECT_EQ(ReadText(kMain, kOnTop, 0), "置顶");
  EXPECT_EQ(ReadInt(kMain, kOnTop, 1), 1);
  EXPECT_EQ(ReadInt(kMain, kHidden, 3), 0);
  WriteInt(kMain, kHidden, 3, 1);
  HMENU bar = GetMenu(Handle(kMain, 0));
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(Text(bar, 1), "隐藏");  // back in its place
  forms().WriteProperty(kMain, kOnTop, 0, runtime::ValueCell::Text("总在最前"));
  WriteInt(kMain, kOnTop, 1, 0);
  WriteInt(kMain, kSave, 2, 0);
  bar = GetMenu(Handle(kMain, 0));
  EXPECT_EQ(Text(bar, 2), "总在最前");
  EXPECT_FALSE(GetMenuState(bar, 2, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(GetSubMenu(bar, 0), 2, MF_BYPOSITION) & MF_GRAYED);
  WriteInt(kMain, kFile, 3, 0);  // a hidden submenu goes with its items
  bar = GetMenu(Handle(kMain, 0));
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  Command(kFirstMenuCommand + 3);  // the save item's command: hidden with its menu
  EXPECT_EQ(CallsOf(13), 0u);

  forms().DestroyAllWindows();
  EXPECT_EQ(ReadText(kMain, kOnTop, 0), "总在最前");
  EXPECT_EQ(ReadInt(kMain, kOnTop, 1), 0);
  WriteInt(kMain, kFile, 3, 1);
  ASSERT_TRUE(forms().LoadWindow(kMain, 0, false));
  bar = GetMenu(Handle(kMain, 0));
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  EXPECT_EQ(Text(bar, 1), "隐藏");
  Command(GetMenuItemID(GetSubMenu(bar, 0), 2));
  EXPECT_EQ(CallsOf(13), 1u);  // enabled now
}

}  // namespace
}  // namespace forms
