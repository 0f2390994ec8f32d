// Event dispatch over the real resource, relocated against a recording handler table, and the
// portable rules of the common events and of enumeration.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "forms/carried_resource.h"
#include "forms/event_dispatch.h"
#include "forms/input_mapping.h"
#include "forms/kinds.h"
#include "forms/unit_filter.h"
#include "runtime/values/error_report.h"

namespace forms {
namespace {

constexpr WindowId kMain = 0x52010001;
constexpr WindowId kDialog = 0x52010D88;
constexpr UnitId kSound1 = 0x1601662E + 1;
constexpr UnitId kSound2 = 0x1601662E + 2;
constexpr UnitId kCombo = 0x16016618;
constexpr std::size_t kSoundPlay = 8;

struct Call {
  std::size_t slot;
  std::vector<std::int32_t> arguments;
  EventState state;
};
std::vector<Call> calls;
HandlerReturn nextReturn;

template <std::size_t Slot>
HandlerReturn Record(std::span<const std::int32_t> arguments) {
  calls.push_back({Slot, {arguments.begin(), arguments.end()}, ProcessEventState()});
  return nextReturn;
}

template <std::size_t... Slots>
constexpr std::array<EventHandler, sizeof...(Slots)> MakeTable(std::index_sequence<Slots...>) {
  return {&Record<Slots>...};
}
const auto kTable = MakeTable(std::make_index_sequence<18>());

struct Fatal {
  std::string text;
};
class ThrowingTerminal final : public runtime::ErrorTerminal {
 public:
  void ShowErrorBox(const char* message, const char*) override { last = message; }
  [[noreturn]] void EndProcess(int) override { throw Fatal{last}; }
  std::string last;
};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    resource_ = WindowResource::Load(CarriedWindowResource(), HandlerTableCodeBase(kTable));
    runtime::InstallErrorTerminal(terminal_);
    calls.clear();
    nextReturn = NoResult();
  }
  void TearDown() override { runtime::RemoveErrorTerminal(); }

  UnitList& MainUnits() { return resource_.WindowById(kMain)->units; }
  void Redirect(UnitId from, UnitId to) { MainUnits().SetRedirectTarget(*MainUnits().IndexOf(from), to); }
  EventRecord Event(WindowId window, UnitId unit, std::int32_t index) {
    EventRecord event;
    event.windowId = window;
    event.unitId = unit;
    event.eventIndex = index;
    return event;
  }
  std::string FatalText(EventRecord event) {
    try {
      FireEvent(resource_, event);
    } catch (const Fatal& fatal) {
      return fatal.text;
    }
    return "no error";
  }

  WindowResource resource_;
  ThrowingTerminal terminal_;
};

TEST_F(Dispatch, RedirectedClickRunsTheTargetsHandlerForTheClickedUnit) {
  Redirect(kSound2, kSound1);
  EventRecord click = Event(kMain, kSound2, 0);
  EXPECT_FALSE(FireEvent(resource_, click));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, kSoundPlay);
  EXPECT_EQ(calls[0].state.currentEventWindow, kMain);
  EXPECT_EQ(calls[0].state.currentEventUnit, kSound2);
  // Outside the handler there is no event unit any more.
  EXPECT_EQ(ProcessEventState().currentEventWindow, 0u);
  EXPECT_EQ(click.handled, 0);
}

TEST_F(Dispatch, WithoutRedirectAnUnboundUnitRunsNothing) {
  EventRecord click = Event(kMain, kSound2, 0);
  FireEvent(resource_, click);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, RedirectsToAnotherKindOrARingStopWithoutHanging) {
  Redirect(kSound2, kCombo);  // a button never takes a combo box's handlers
  EventRecord click = Event(kMain, kSound2, 0);
  FireEvent(resource_, click);
  EXPECT_TRUE(calls.empty());

  Redirect(kSound2, kSound1 + 2);
  Redirect(kSound1 + 2, kSound2);
  FireEvent(resource_, click);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, WindowUnitByZeroAndAReturnedResult) {
  nextReturn = Result(0);
  EventRecord close = Event(kMain, 0, 1);
  EXPECT_TRUE(FireEvent(resource_, close));
  EXPECT_EQ(close.handled, 1);
  EXPECT_EQ(close.result, 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].slot, 0u);  // the close request is the table's first entry
  EXPECT_EQ(calls[0].state.currentEventUnit, 0x06010000u);
}

TEST_F(Dispatch, ArgumentsArriveInOrderUpToTheirCount) {
  EventRecord feedback = Event(kMain, 0x16016617, 0);
  feedback.argumentCount = 2;
  feedback.arguments = {0x80E9, 0, 7, 7, 7};
  FireEvent(resource_, feedback);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].arguments, (std::vector<std::int32_t>{0x80E9, 0}));
}

TEST_F(Dispatch, SuppressedEventsReachNoHandler) {
  EventRecord close = Event(kMain, 0, 1);
  {
    EventSuppression quiet;
    FireEvent(resource_, close);
  }
  EXPECT_TRUE(calls.empty());
  FireEvent(resource_, close);
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Dispatch, UnknownWindowOrUnitIsFatal) {
  EXPECT_EQ(FatalText(Event(0x52019999, 0, 0)), runtime::ComposeErrorMessage(0, kEventWindowNotFound));
  EXPECT_EQ(FatalText(Event(kDialog, kSound1, 0)), runtime::ComposeErrorMessage(0, kEventUnitNotFound));
}

TEST_F(Dispatch, EventUnitOutsideAHandlerIsFatal) {
  try {
    GetEventUnit();
    FAIL() << "no error";
  } catch (const Fatal& fatal) {
    EXPECT_EQ(fatal.text, runtime::ComposeErrorMessage(0, kEventUnitOutsideHandler));
  }
}

HandlerReturn RaisesNested(std::span<const std::int32_t>);
const WindowResource* nestedResource = nullptr;
EventUnit seenAfterNested;
HandlerReturn RaisesNested(std::span<const std::int32_t>) {
  EventRecord inner;
  inner.windowId = kDialog;
  inner.unitId = 0;
  inner.eventIndex = 0;
  FireEvent(*nestedResource, inner);
  seenAfterNested = GetEventUnit();
  return NoResult();
}

TEST(DispatchNesting, AnOuterHandlerKeepsItsEventUnitAfterAModalWindowsHandlers) {
  std::array<EventHandler, 18> table{};
  table[kSoundPlay] = &RaisesNested;
  table[15] = [](std::span<const std::int32_t>) { return NoResult(); };  // the dialog's Created
  const WindowResource resource = WindowResource::Load(CarriedWindowResource(), HandlerTableCodeBase(table));
  nestedResource = &resource;
  EventRecord click;
  click.windowId = kMain;
  click.unitId = kSound1;
  FireEvent(resource, click);
  EXPECT_EQ(seenAfterNested.window, kMain);
  EXPECT_EQ(seenAfterNested.unit, kSound1);
}

TEST(InputMapping, KeyCodes) {
  const std::pair<std::uintptr_t, std::int32_t> cases[] = {
      {0x60, 0x30}, {0x69, 0x39}, {0x6D, 0xBD}, {0x6E, 0xBE}, {0x6F, 0xBF},
      {0x6A, 0x6A}, {0x41, 0x41}, {0x1B, 0x1B}, {0x1265, 0x35}};
  for (auto [wParam, expected] : cases) EXPECT_EQ(EventKeyCode(wParam), expected) << wParam;
}

TEST(InputMapping, AModifierAloneDoesNotCountItself) {
  EXPECT_EQ(ModifierState(true, true, true), 7);
  EXPECT_EQ(ModifierState(true, false, false, 0x11), 0);
  EXPECT_EQ(ModifierState(true, true, false, 0x10), key_state::kCtrl);
  EXPECT_EQ(ModifierState(false, false, true, 0x12), 0);
  EXPECT_EQ(ModifierState(true, false, true, 0x41), key_state::kCtrl | key_state::kAlt);
}

TEST(InputMapping, MouseAndWheelArguments) {
  EXPECT_EQ(MouseX(0x0005FFFF), 0xFFFF);  // unsigned 16 bits, not -1
  EXPECT_EQ(MouseY(0x0005FFFF), 5);
  EXPECT_EQ(WheelNotches(static_cast<std::uintptr_t>(static_cast<std::uint16_t>(-240)) << 16), -2);
  EXPECT_EQ(WheelNotches(std::uintptr_t{120} << 16), 1);
}

TEST(UnitFilter, PrefixKindAndTagRange) {
  UnitFilter filter;
  filter.namePrefix = "按钮_音效";
  filter.kindName = "按钮";
  EXPECT_TRUE(filter.Matches("按钮_音效12", "按钮", ""));
  EXPECT_FALSE(filter.Matches("按钮_停止播放", "按钮", ""));
  EXPECT_FALSE(filter.Matches("按钮_音效12", "标签", ""));
  filter.smallestTag = 10;
  filter.largestTag = 20;
  EXPECT_TRUE(filter.Matches("按钮_音效1", "按钮", "15abc"));
  EXPECT_FALSE(filter.Matches("按钮_音效1", "按钮", "abc"));  // no digits: 0
  EXPECT_FALSE(filter.Matches("按钮_音效1", "按钮", "99999999999999"));
  EXPECT_TRUE(filter.Matches("按钮_音效1", "按钮", "0012x"));
  // Tags are read like any text turned into an integer: leading blanks, a sign, full-width digits.
  filter.smallestTag = -20;
  filter.largestTag = -10;
  EXPECT_TRUE(filter.Matches("按钮_音效1", "按钮", "  -15"));
  EXPECT_FALSE(filter.Matches("按钮_音效1", "按钮", "15"));
  filter.smallestTag = 10;
  filter.largestTag = 20;
  EXPECT_TRUE(filter.Matches("按钮_音效1", "按钮", " +１５"));
  // An empty kind name matches every kind.
  filter.kindName = "";
  EXPECT_TRUE(filter.Matches("按钮_音效1", "标签", "15"));
}

}  // namespace
}  // namespace forms
