// The units' messages turned into events, and what a window does with its own messages.
#include "forms/forms_runtime_win.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/forms_runtime_parts_win.h"
#include "forms/input_mapping.h"

namespace forms {

using namespace runtime_parts;

bool FormsRuntime::RaiseFor(LiveWindow& live, std::size_t index, std::int32_t event,
                            std::initializer_list<std::int32_t> arguments, std::int32_t* result) {
  const WindowRecord& record = RecordOf(live.id);
  EventRecord raised;
  raised.windowId = live.id;
  raised.unitId = record.units.IdAt(index);
  raised.eventIndex = event;
  for (std::int32_t argument : arguments) {
    if (raised.argumentCount == 5) break;
    raised.arguments[static_cast<std::size_t>(raised.argumentCount++)] = argument;
  }
  const bool returned = Raise(raised);
  if (result) *result = raised.result;
  return returned;
}

bool FormsRuntime::Raise(EventRecord& event) { return FireEvent(ProcessWindowDefinitions().Resource(), event); }

void FormsRuntime::ChooseMenuCommand(LiveWindow& live, WORD command) {
  const auto entry = std::find_if(live.menuEntries.begin(), live.menuEntries.end(),
                                  [command](const MenuEntry& e) { return e.command == command; });
  if (entry == live.menuEntries.end() || entry->opensSubmenu || entry->separator) return;
  const UnitList& units = RecordOf(live.id).units;
  const std::size_t index = entry->index;
  // An accelerator reaches hidden and disabled items too, and items of a hidden submenu: the
  // stored flags of the item and of the items above it decide.
  if (units.Record(index).menuValues[2] & (kMenuHidden | kMenuDisabled)) return;
  std::uint32_t level = entry->level;
  for (auto above = std::make_reverse_iterator(entry); level > 0 && above != live.menuEntries.rend(); ++above) {
    if (above->level >= level) continue;
    level = above->level;
    if (units.Record(above->index).menuValues[2] & kMenuHidden) return;
  }
  if (ProcessEventState().eventSuppression > 0) return;
  const auto handlers = units.Handlers(index);
  if (handlers.empty() || !handlers[0]) return;
  const EventHandler handler = *static_cast<const EventHandler*>(handlers[0]);
  if (handler) RunHandler(handler, live.id, units.IdAt(index), {});
}

LRESULT CALLBACK FormsRuntime::UnitProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<FormsRuntime*>(data);
  const Location* at = self->Find(window);
  if (!at) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &FormsRuntime::UnitProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  const Location location = *at;
  return self->HandleUnitMessage(window, location, message, wParam, lParam);
}

LRESULT FormsRuntime::HandleUnitMessage(HWND handle, const Location& at, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  LiveWindow* live = Live(at.window);
  if (message == WM_NCDESTROY) {
    const LRESULT result = DefSubclassProc(handle, message, wParam, lParam);
    RemoveWindowSubclass(handle, &FormsRuntime::UnitProc, kSubclassId);
    Destroyed(handle, at);
    return result;
  }
  if (!live || live->loading || at.index >= live->units.size()) {
    return DefSubclassProc(handle, message, wParam, lParam);
  }

  // Handlers may add units, which moves the live units, or close the window: nothing of the
  // window is held across a handler call, it is looked up again.
  if (at.index == 0) {
    bool done = false;
    const LRESULT result = HandleWindowMessage(*live, message, wParam, lParam, done);
    if (done) return result;
    live = Live(at.window);
    if (!live || at.index >= live->units.size()) return DefSubclassProc(handle, message, wParam, lParam);
  }

  // The control's own messages that are kind events (a label's feedback, a settled selection).
  if (UnitControl* control = live->units[at.index].control.get()) {
    if (auto event = control->FromOwnMessage(message, wParam, lParam)) {
      EventRecord raised;
      raised.windowId = at.window;
      raised.unitId = RecordOf(at.window).units.IdAt(at.index);
      raised.eventIndex = event->index;
      raised.argumentCount = event->argumentCount;
      raised.arguments = event->arguments;
      Raise(raised);
      return raised.handled ? raised.result : 0;
    }
  }

  // Notifications a control sends its parent, which may be the window or a container unit.
  HWND from = nullptr;
  if (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) from = reinterpret_cast<HWND>(lParam);
  if (message == WM_NOTIFY && lParam) from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  if (from) {
    const Location* child = Find(from);
    if (child && child->window == at.window && child->index < live->units.size()) {
      const std::size_t childIndex = child->index;
      if (UnitControl* control = live->units[childIndex].control.get()) {
        if (auto event = control->FromNotification(message, wParam, lParam)) {
          EventRecord raised;
          raised.windowId = at.window;
          raised.unitId = RecordOf(at.window).units.IdAt(childIndex);
          raised.eventIndex = event->index;
          raised.argumentCount = event->argumentCount;
          raised.arguments = event->arguments;
          Raise(raised);
        }
      }
    }
    live = Live(at.window);
    if (!live || at.index >= live->units.size()) return DefSubclassProc(handle, message, wParam, lParam);
  }
  LiveUnit& unit = live->units[at.index];

  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == handle && LOWORD(lParam) == HTCLIENT &&
      unit.cursor.cursor) {
    SetCursor(unit.cursor.cursor);
    return TRUE;
  }

  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
      HandleKey(*live, at.index != 0 ? unit.control.get() : nullptr, static_cast<UINT>(wParam & 0xFF))) {
    return 0;
  }

  const std::int32_t common = CommonEventOf(message);
  if (common != 0 && !(common == -7 && live->showing)) {
    std::int32_t result = 0;
    bool returned = false;
    switch (message) {
      case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN:
      case WM_RBUTTONUP: case WM_MOUSEMOVE:
        returned = RaiseFor(*live, at.index, common, {MouseX(lParam), MouseY(lParam), HeldModifiers()}, &result);
        break;
      case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: {
        const std::int32_t key = EventKeyCode(wParam);
        returned = RaiseFor(*live, at.index, common, {key, HeldModifiers(key)}, &result);
        break;
      }
      case WM_CHAR:
        returned = RaiseFor(*live, at.index, common, {static_cast<std::int32_t>(wParam)}, &result);
        if (returned && result != 0) wParam = static_cast<WPARAM>(result);
        break;
      case WM_MOUSEWHEEL:
        returned = RaiseFor(*live, at.index, common, {WheelNotches(wParam), HeldModifiers()}, &result);
        break;
      default:  // focus
        RaiseFor(*live, at.index, common, {});
        break;
    }
    if (returned && result == 0) return 0;
  }
  return DefSubclassProc(handle, message, wParam, lParam);
}

LRESULT FormsRuntime::HandleWindowMessage(LiveWindow& live, UINT message, WPARAM wParam, LPARAM lParam,
                                          bool& done) {
  done = true;
  const WindowId id = live.id;
  switch (message) {
    case WM_COMMAND:
      // From the menu (0) or an accelerator (1); controls name themselves in lParam.
      if (lParam == 0 && HIWORD(wParam) <= 1 && LOWORD(wParam) >= kFirstMenuCommand &&
          LOWORD(wParam) < kFirstMenuCommand + live.menuEntries.size()) {
        ChooseMenuCommand(live, LOWORD(wParam));
        return 0;
      }
      done = false;
      return 0;
    case kCloseSelf:
      EnableOthers(live);
      DestroyWindow(live.handle);
      return 0;
    case WM_CLOSE: {
      if (!live.closing) {
        std::int32_t result = 0;
        if (RaiseFor(live, 0, window_event::kCloseRequested, {}, &result) && result == 0) return 0;
      }
      if (Live(id)) {
        EnableOthers(live);
        DestroyWindow(live.handle);
      }
      return 0;
    }
    case WM_QUERYENDSESSION: {
      std::int32_t result = 0;
      if (RaiseFor(live, 0, window_event::kCloseRequested, {}, &result) && result == 0) return FALSE;
      return TRUE;
    }
    case WM_DESTROY:
      RaiseFor(live, 0, window_event::kDestroying, {});
      done = false;
      return 0;
    case WM_MOVE:
      if (!live.showing) RaiseFor(live, 0, window_event::kMoved, {});
      done = false;
      return 0;
    case WM_SIZE:
      if (!live.showing) RaiseFor(live, 0, window_event::kResized, {});
      done = false;
      return 0;
    case WM_SHOWWINDOW:
      RaiseFor(live, 0, wParam ? window_event::kShown : window_event::kHidden, {});
      done = false;
      return 0;
    default:
      done = false;
      return 0;
  }
}

}  // namespace forms
