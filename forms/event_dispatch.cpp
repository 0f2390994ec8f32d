#include "forms/event_dispatch.h"

#include "forms/kinds.h"
#include "runtime/values/error_report.h"

namespace forms {
namespace {

// Where every -1 offset points: a slot with no handler in it.
const EventHandler kNoHandler = nullptr;

}  // namespace

CodeBase HandlerTableCodeBase(std::span<const EventHandler> table) {
  return {table.data(), sizeof(EventHandler), table.size(), &kNoHandler};
}

EventState& ProcessEventState() {
  static EventState state;
  return state;
}

FoundHandler FindHandler(const WindowResource& resource, const EventRecord& event) {
  const WindowRecord* window = resource.WindowById(event.windowId);
  if (!window) runtime::ReportError(runtime::error_codes::Text, kEventWindowNotFound);
  const UnitList& units = window->units;
  std::optional<std::size_t> index;
  if (event.unitId != 0) {
    index = units.IndexOf(event.unitId);
  } else if (units.Count() > 0) {
    index = 0;
  }
  if (!index) runtime::ReportError(runtime::error_codes::Text, kEventUnitNotFound);

  FoundHandler found;
  found.raisedUnit = units.IdAt(*index);
  const KindId kind = units.Record(*index).kind;
  // Targets are set one at a time and may form a ring; each unit is visited at most once.
  for (std::size_t steps = 0; steps < units.Count(); ++steps) {
    const UnitId target = units.Record(*index).redirectTarget;
    if (target == 0) break;
    const auto next = units.IndexOf(target);
    if (!next || units.IsMenuItem(*next) || units.Record(*next).kind != kind) break;
    index = next;
  }
  const KindDescription* description = FindKind(kind);
  if (!description || kind == kind_ids::kMenuItem || units.IsMenuItem(*index)) {
    runtime::ReportError(runtime::error_codes::Text, kEventUnitInvalid);
  }

  const UnitRecord& record = units.Record(*index);
  const auto handlers = units.Handlers(*index);
  for (std::size_t e = 0; e < record.events.size() && e < handlers.size(); ++e) {
    if (record.events[e].eventIndex != event.eventIndex) continue;
    if (handlers[e]) found.handler = *static_cast<const EventHandler*>(handlers[e]);
    break;
  }
  return found;
}

HandlerReturn RunHandler(EventHandler handler, WindowId window, UnitId unit,
                         std::span<const std::int32_t> arguments) {
  // A handler may open a modal window whose handlers run inside it; the outer handler sees its
  // own event unit again afterwards.
  EventState& state = ProcessEventState();
  const EventState saved = state;
  state.currentEventWindow = window;
  state.currentEventUnit = unit;
  const HandlerReturn returned = handler(arguments);
  state.currentEventWindow = saved.currentEventWindow;
  state.currentEventUnit = saved.currentEventUnit;
  return returned;
}

bool FireEvent(const WindowResource& resource, EventRecord& event) {
  EventState& state = ProcessEventState();
  if (state.eventSuppression > 0) return false;
  const FoundHandler found = FindHandler(resource, event);
  if (!found.handler) return false;

  const int count = event.argumentCount < 0 ? 0 : (event.argumentCount > 5 ? 5 : event.argumentCount);
  const HandlerReturn returned =
      RunHandler(found.handler, event.windowId, found.raisedUnit,
                 std::span<const std::int32_t>(event.arguments.data(), static_cast<std::size_t>(count)));
  if (!returned.hasResult) return false;
  event.handled = 1;
  event.result = returned.result;
  return true;
}

EventUnit GetEventUnit() {
  const EventState& state = ProcessEventState();
  if (state.currentEventWindow == 0) {
    runtime::ReportError(runtime::error_codes::Text, kEventUnitOutsideHandler);
  }
  return {state.currentEventWindow, state.currentEventUnit};
}

}  // namespace forms
