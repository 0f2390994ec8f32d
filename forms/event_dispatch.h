#pragma once
// Turning a raised event into a call of the handler the resource binds to it.
//
// A handler is an entry of the program's handler table. It gets the event's arguments in order
// and says whether it returns a result; only a returned result can cancel or answer anything.
#include <array>
#include <cstdint>
#include <span>

#include "forms/ids.h"
#include "forms/unit_list.h"
#include "forms/window_resource.h"

namespace forms {

struct HandlerReturn {
  bool hasResult = false;
  std::int32_t result = 0;
};
using EventHandler = HandlerReturn (*)(std::span<const std::int32_t> arguments);

inline HandlerReturn NoResult() { return {}; }
inline HandlerReturn Result(std::int32_t value) { return {true, value}; }

// What relocates the resource's handler offsets into `table`: offset h names entry h, -1 a slot
// that holds no handler. Null entries are handlers not bound yet.
CodeBase HandlerTableCodeBase(std::span<const EventHandler> table);

struct EventRecord {
  WindowId windowId = 0;
  UnitId unitId = 0;  // 0: the window's own unit
  std::int32_t eventIndex = 0;
  std::int32_t argumentCount = 0;
  std::array<std::int32_t, 5> arguments{};
  std::int32_t handled = 0;
  std::int32_t result = 0;
};

struct EventState {
  WindowId currentEventWindow = 0;
  UnitId currentEventUnit = 0;
  int eventSuppression = 0;
};
EventState& ProcessEventState();

// No event reaches a handler while one of these lives (re-creating a control in place).
class EventSuppression {
 public:
  EventSuppression() { ++ProcessEventState().eventSuppression; }
  ~EventSuppression() { --ProcessEventState().eventSuppression; }
  EventSuppression(const EventSuppression&) = delete;
  EventSuppression& operator=(const EventSuppression&) = delete;
};

inline constexpr char kEventWindowNotFound[] = "未找到引发事件的窗口";
inline constexpr char kEventUnitNotFound[] = "未找到引发事件的窗口组件";
inline constexpr char kEventUnitInvalid[] = "引发事件的窗口组件无效";
inline constexpr char kEventUnitOutsideHandler[] = "“取事件组件”命令只能在事件处理子程序中使用";

struct FoundHandler {
  EventHandler handler = nullptr;  // null: nothing is bound
  UnitId raisedUnit = 0;           // the unit the event was raised for (never the redirect target)
};

// Looks the unit up, follows its redirect targets within the window and the kind, and finds the
// binding of the event. An unknown window or unit, or a unit that is no window unit, is fatal.
FoundHandler FindHandler(const WindowResource& resource, const EventRecord& event);

// Calls `handler` with `window` and `unit` as the event's window and unit, and gives the outer
// handler's back afterwards.
HandlerReturn RunHandler(EventHandler handler, WindowId window, UnitId unit, std::span<const std::int32_t> arguments);

// Calls the bound handler unless events are suppressed. True when a handler returned a result
// (then event.handled is 1 and event.result holds it).
bool FireEvent(const WindowResource& resource, EventRecord& event);

// The unit whose event is being handled; fatal outside a handler.
struct EventUnit {
  WindowId window = 0;
  UnitId unit = 0;
};
EventUnit GetEventUnit();

}  // namespace forms
