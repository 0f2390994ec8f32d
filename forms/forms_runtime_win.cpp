// The forms runtime: its live windows, how their units are found, its hooks in the runtime.
#include "forms/forms_runtime_win.h"

#include <algorithm>

#include "forms/forms_runtime_parts_win.h"

namespace forms {

using namespace runtime_parts;

FormsRuntime& FormsRuntime::Instance() {
  static FormsRuntime runtime;
  return runtime;
}

void FormsRuntime::Install(runtime::RuntimeApp& app, std::span<const EventHandler> handlers) {
  app_ = &app;
  runtime::WindowHooks& hooks = app.Hooks();
  hooks.readWindowResource = [handlers](std::span<const std::byte> resource, std::uintptr_t) {
    ProcessWindowDefinitions().Read(resource, HandlerTableCodeBase(handlers));
    return true;
  };
  hooks.loadWindow = [this](std::uint32_t window) -> HWND {
    return LoadWindow(window, 0, false) ? WindowHandle(window) : nullptr;
  };
  hooks.freeWindowDefinitions = [this] {
    DestroyAllWindows();
    ProcessWindowDefinitions().Free();
  };
  hooks.loop.anyWindowAlive = [this] { return AnyWindowAlive(); };
  hooks.loop.loadedWindowIds = [this] { return LoadedWindows(); };
  hooks.loop.raiseIdleEvent = [this](std::uint32_t window, std::uint32_t elapsed) {
    LiveWindow* live = Live(window);
    if (!live || live->loading) return false;
    std::int32_t result = 0;
    const bool returned = RaiseFor(*live, 0, window_event::kIdle, {static_cast<std::int32_t>(elapsed)}, &result);
    return returned && result != 0;
  };
}

FormsRuntime::LiveWindow* FormsRuntime::Live(WindowId window) {
  auto found = live_.find(window);
  return found == live_.end() ? nullptr : found->second.get();
}
const FormsRuntime::LiveWindow* FormsRuntime::Live(WindowId window) const {
  auto found = live_.find(window);
  return found == live_.end() ? nullptr : found->second.get();
}
const FormsRuntime::Location* FormsRuntime::Find(HWND handle) const {
  auto found = byHandle_.find(handle);
  return found == byHandle_.end() ? nullptr : &found->second;
}

bool FormsRuntime::IsLoaded(WindowId window) const {
  const LiveWindow* live = Live(window);
  return live && live->handle && IsWindow(live->handle);
}
HWND FormsRuntime::WindowHandle(WindowId window) const {
  const LiveWindow* live = Live(window);
  return live ? live->handle : nullptr;
}
HWND FormsRuntime::UnitHandle(WindowId window, UnitId unit) const {
  const LiveWindow* live = Live(window);
  const WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window);
  if (!live || !record) return nullptr;
  const auto index = record->units.IndexOfUnitOrWindow(unit);
  if (!index || *index >= live->units.size()) return nullptr;
  return live->units[*index].handle;
}
std::vector<WindowId> FormsRuntime::LoadedWindows() const {
  std::vector<WindowId> ids;
  for (const auto& [id, live] : live_) {
    if (!live->loading) ids.push_back(id);
  }
  return ids;
}
bool FormsRuntime::AnyWindowAlive() const {
  return std::any_of(live_.begin(), live_.end(),
                     [](const auto& entry) { return entry.second->handle && IsWindow(entry.second->handle); });
}
void FormsRuntime::DestroyAllWindows() {
  std::vector<HWND> handles;
  for (const auto& [id, live] : live_) handles.push_back(live->handle);
  for (HWND handle : handles) {
    if (IsWindow(handle)) DestroyWindow(handle);
  }
}

void FormsRuntime::DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;  // for the loop that is waiting for it
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

WindowRecord& FormsRuntime::RecordOf(WindowId window) {
  WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window);
  if (!record) FailAccess();
  return *record;
}

std::size_t FormsRuntime::IndexOf(WindowRecord& record, UnitId unit) {
  const auto index = record.units.IndexOfUnitOrWindow(unit);
  // The board never names a unit its window lacks; such an access is a fault like a wrong window.
  if (!index) FailAccess();
  return *index;
}

HWND FormsRuntime::WindowUnits::Handle(UnitId unit) const {
  const LiveWindow* live = runtime_.Live(window_);
  const WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window_);
  if (!live || !record) return nullptr;
  const auto at = record->units.IndexOf(unit);
  return at && *at < live->units.size() ? live->units[*at].handle : nullptr;
}

std::vector<UnitId> FormsRuntime::WindowUnits::Children(HWND unitWindow) const {
  const Location* at = runtime_.Find(unitWindow);
  const WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window_);
  if (!at || at->window != window_ || !record || at->index >= record->units.Count()) return {};
  return record->units.Record(at->index).children;
}

bool FormsRuntime::WindowUnits::MarkedVisible(UnitId unit) const {
  const WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window_);
  const auto at = record ? record->units.IndexOf(unit) : std::nullopt;
  return at && (record->units.Record(*at).flags & unit_flags::kVisible) != 0;
}

}  // namespace forms
