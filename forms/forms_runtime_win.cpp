#include "forms/forms_runtime_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "forms/input_mapping.h"
#include "forms/kinds.h"
#include "forms/property_rules.h"
#include "runtime/values/error_report.h"

namespace forms {
namespace {

constexpr UINT kUnitsCreated = 0x806F;
constexpr UINT kWindowUnitsCreated = 0x8004;
constexpr UINT kCloseSelf = 0x8065;  // a closing window destroys itself once the caller returned
constexpr UINT_PTR kSubclassId = 0x5342;

namespace window_event {
constexpr std::int32_t kCreated = 0, kCloseRequested = 1, kDestroying = 2, kMoved = 3,
                       kResized = 4, kIdle = 7, kShown = 10, kHidden = 11;
}  // namespace window_event

const WindowData& WindowSettings(const std::vector<KindData>& data) {
  static const WindowData defaults;
  if (data.empty()) return defaults;
  const auto* window = std::get_if<WindowData>(&data[0]);
  return window ? *window : defaults;
}

std::int32_t HeldModifiers(std::int32_t key = 0) {
  return ModifierState(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                       GetKeyState(VK_MENU) < 0, key);
}

[[noreturn]] void FailAccess() { runtime::ReportError(runtime::error_codes::Text, kWindowNotLoadedForAccess); }

// A cursor from the stored bytes: 4 bytes name a system cursor (0: the class's own), longer
// ones are a cursor file.
HCURSOR CursorFromBytes(std::span<const std::uint8_t> bytes, bool& owned) {
  owned = false;
  if (bytes.size() == 4) {
    const std::uint32_t id = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    if (id == 0) return nullptr;
    return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
  }
  // A .cur file: 6-byte header, 16-byte entries; the first image is used.
  if (bytes.size() < 22) return nullptr;
  const std::uint32_t size = bytes[14] | (bytes[15] << 8) | (bytes[16] << 16) | (static_cast<std::uint32_t>(bytes[17]) << 24);
  const std::uint32_t offset = bytes[18] | (bytes[19] << 8) | (bytes[20] << 16) | (static_cast<std::uint32_t>(bytes[21]) << 24);
  if (offset > bytes.size() || size > bytes.size() - offset) return nullptr;
  // CreateIconFromResourceEx wants the hot spot in front of the image.
  std::vector<std::uint8_t> resource(4 + size);
  resource[0] = bytes[10];
  resource[1] = bytes[11];
  resource[2] = bytes[12];
  resource[3] = bytes[13];
  std::copy_n(bytes.begin() + offset, size, resource.begin() + 4);
  HICON cursor = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE,
                                          0x00030000, 0, 0, LR_DEFAULTCOLOR);
  owned = cursor != nullptr;
  return static_cast<HCURSOR>(cursor);
}

// The menu bar of the items that show; null when none does. A hidden item takes its submenu
// with it.
HMENU MakeMenu(const std::vector<MenuEntry>& entries) {
  HMENU bar = CreateMenu();
  std::vector<HMENU> menus{bar};
  bool any = false;
  std::uint32_t skipBelow = UINT32_MAX;
  for (const MenuEntry& entry : entries) {
    if (entry.level > skipBelow) continue;
    skipBelow = UINT32_MAX;
    if (entry.flags & kMenuHidden) {
      skipBelow = entry.level;
      continue;
    }
    menus.resize(entry.level + 1);
    HMENU parent = menus[entry.level];
    UINT state = ((entry.flags & kMenuDisabled) ? MF_GRAYED : 0) | ((entry.flags & kMenuChecked) ? MF_CHECKED : 0);
    if (entry.opensSubmenu) {
      HMENU submenu = CreatePopupMenu();
      AppendMenuA(parent, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), entry.text.c_str());
      menus.push_back(submenu);
    } else if (entry.separator) {
      AppendMenuA(parent, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(parent, MF_STRING | state, entry.command, entry.text.c_str());
    }
    any = any || entry.level == 0;
  }
  if (!any) {
    DestroyMenu(bar);
    return nullptr;
  }
  return bar;
}

}  // namespace

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
  const auto index = unit == 0 ? std::optional<std::size_t>(0) : record->units.IndexOf(unit);
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
  if (unit == 0 && record.units.Count() > 0) return 0;
  const auto index = record.units.IndexOf(unit);
  // The board never names a unit its window lacks; such an access is a fault like a wrong window.
  if (!index) FailAccess();
  return *index;
}

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

// ---- loading ----

bool FormsRuntime::LoadWindow(WindowId window, WindowId owner, bool modal) {
  if (owner != 0 && !IsLoaded(owner)) return false;
  if (LiveWindow* live = Live(window)) {
    if (!live->closing) {
      if (IsIconic(live->handle)) ShowWindow(live->handle, SW_RESTORE);
      else SetActiveWindow(live->handle);
      return true;
    }
    DestroyWindow(live->handle);
    if (Live(window)) return false;
  }
  WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window);
  if (!record || record->units.Count() == 0) return false;

  DrainMessages();
  ++loadsInProgress_;
  auto owned = std::make_unique<LiveWindow>(*this, window);
  LiveWindow& live = *owned;
  live.modal = modal;
  live_[window] = std::move(owned);
  HWND ownerHandle = owner ? WindowHandle(owner) : nullptr;
  HWND handle = CreateWindowUnits(*record, live, ownerHandle, modal);
  if (!handle) {
    --loadsInProgress_;
    // The partial window goes with everything made so far; its destruction removes the entry.
    if (Live(window)) {
      HWND partial = live.handle;
      if (partial && IsWindow(partial)) DestroyWindow(partial);
    }
    if (LiveWindow* left = Live(window)) {
      for (const LiveUnit& unit : left->units) byHandle_.erase(unit.handle);
      live_.erase(window);
    }
    return false;
  }
  DrainMessages();
  --loadsInProgress_;
  if (!Live(window)) return false;
  live.loading = false;

  RaiseFor(live, 0, window_event::kCreated, {});
  if (!IsLoaded(window)) return modal;
  RaiseFor(live, 0, window_event::kMoved, {});
  if (!IsLoaded(window)) return modal;
  RaiseFor(live, 0, window_event::kResized, {});
  if (!IsLoaded(window)) return modal;

  if (record->units.Record(0).flags & unit_flags::kVisible) {
    ShowLoadedWindow(live);
    if (!IsLoaded(window)) return modal;
  }
  if (modal && IsLoaded(window)) RunModal(live);
  return true;
}

// Minimized or maximized as the stored start position says, then GotFocus for the unit that
// has the focus.
void FormsRuntime::ShowLoadedWindow(LiveWindow& live) {
  const WindowId window = live.id;
  HWND handle = live.handle;
  std::vector<KindData> data;
  ReadWindowKindData(RecordOf(window), &data);
  const WindowData& settings = WindowSettings(data);
  const int show = settings.startPosition == 2 ? SW_SHOWMINIMIZED
                   : (settings.startPosition == 3 && (GetWindowLongPtrA(handle, GWL_STYLE) & WS_THICKFRAME))
                       ? SW_SHOWMAXIMIZED
                       : SW_SHOW;
  // Showing the window is not a move or resize the board should hear of.
  live.showing = true;
  ShowWindow(handle, show);
  LiveWindow* still = Live(window);
  if (!still) return;
  still->showing = false;
  if (!IsLoaded(window)) return;
  if (const Location* focused = Find(GetFocus()); focused && focused->window == window) {
    RaiseFor(*still, focused->index, -7, {});
  }
}

HWND FormsRuntime::CreateWindowUnits(WindowRecord& record, LiveWindow& live, HWND owner, bool modal) {
  UnitList& units = record.units;
  live.units.resize(units.Count());
  std::vector<KindData> data;
  if (!ReadWindowKindData(record, &data)) return nullptr;
  const WindowData& settings = WindowSettings(data);

  BuildMenu(record, live);
  bool popup = owner != nullptr;
  if (!owner && (modal || !settings.showInTaskbar) && app_) owner = app_->HiddenWindow();

  // The window's own unit first, then the others from the last to the second.
  {
    const UnitRecord unitRecord = units.Record(0);
    UnitCreateContext context{unitRecord, data[0], owner, popup, 0, 0};
    if (unitRecord.flags & unit_flags::kDisabled) context.commonStyle |= WS_DISABLED;
    live.units[0].control = createUnit_(context);
    if (!live.units[0].control || !live.units[0].control->Handle()) return nullptr;
    live.units[0].handle = live.units[0].control->Handle();
    live.handle = live.units[0].handle;
    Attach(live, 0);
    SetMenuOnWindow(live);
  }
  int controlId = 100;
  for (std::size_t i = units.Count(); i-- > 1;) {
    if (units.IsMenuItem(i)) continue;
    const UnitRecord unitRecord = units.Record(i);
    UnitCreateContext context{unitRecord, data[i], live.handle, false, controlId, 0};
    if (unitRecord.flags & unit_flags::kDisabled) context.commonStyle |= WS_DISABLED;
    if (unitRecord.flags & unit_flags::kTabStop) context.commonStyle |= WS_TABSTOP;
    live.units[i].control = createUnit_(context);
    if (!live.units[i].control) return nullptr;
    live.units[i].handle = live.units[i].control->Handle();
    controlId += 10;
    Attach(live, i);
  }

  // Re-parent, and keep the pages after the first of a paged container hidden.
  std::vector<bool> hidden(units.Count(), false);
  for (std::size_t i = 1; i < units.Count(); ++i) {
    if (units.IsMenuItem(i)) continue;
    const UnitRecord& unitRecord = units.Record(i);
    const UnitId parentId = unitRecord.parent;
    const KindDescription* kind = FindKind(unitRecord.kind);
    if (kind && (kind->state & kind_state::kPagedContainer)) {
      const auto& children = unitRecord.children;
      const auto firstEnd = std::find(children.begin(), children.end(), 0u);
      for (auto child = firstEnd; child != children.end(); ++child) {
        if (*child == 0) continue;
        if (auto at = units.IndexOf(*child)) hidden[*at] = true;
      }
    }
    if (parentId == 0 || !live.units[i].handle) continue;
    const auto parentIndex = units.IndexOf(parentId);
    if (parentIndex && live.units[*parentIndex].handle) SetParent(live.units[i].handle, live.units[*parentIndex].handle);
  }

  // Among siblings the list order is the top-to-bottom order.
  for (std::size_t i = 1; i < units.Count(); ++i) {
    HWND handle = live.units[i].handle;
    if (!handle) continue;
    const UnitId parent = units.Record(i).parent;
    HWND above = HWND_TOP;
    for (std::size_t j = i - 1; j >= 1; --j) {
      if (live.units[j].handle && units.Record(j).parent == parent) {
        above = live.units[j].handle;
        break;
      }
    }
    SetWindowPos(handle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  for (std::size_t i = 0; i < units.Count(); ++i) {
    if (!units.IsMenuItem(i)) LoadCursor(live, i);
  }

  for (std::size_t i = units.Count(); i-- > 0;) {
    LiveUnit& unit = live.units[i];
    if (!unit.control) continue;
    unit.control->AllUnitsCreated(live.lookup);
    if (i != 0 && unit.handle) SendMessageA(unit.handle, kUnitsCreated, 0, 0);
  }
  SendMessageA(live.handle, kWindowUnitsCreated, 0, 0);

  for (std::size_t i = 1; i < units.Count(); ++i) {
    if (!live.units[i].handle || hidden[i]) continue;
    const UnitRecord& unitRecord = units.Record(i);
    const KindDescription* kind = FindKind(unitRecord.kind);
    if (kind && (kind->state & kind_state::kNeverShown)) continue;
    if (unitRecord.flags & unit_flags::kVisible) ShowWindow(live.units[i].handle, SW_SHOWNA);
  }
  return live.handle;
}

void FormsRuntime::BuildMenu(const WindowRecord& record, LiveWindow& live) {
  live.menuEntries = MenuEntries(record.units);
  live.menu.Reset(MakeMenu(live.menuEntries));
  std::vector<ACCEL> keys;
  for (const MenuEntry& entry : live.menuEntries) {
    if (entry.key == 0 || entry.opensSubmenu || entry.separator) continue;
    BYTE virt = FVIRTKEY;
    if (entry.modifiers & key_state::kCtrl) virt |= FCONTROL;
    if (entry.modifiers & key_state::kShift) virt |= FSHIFT;
    if (entry.modifiers & key_state::kAlt) virt |= FALT;
    keys.push_back({virt, entry.key, entry.command});
  }
  live.accelerators.Reset(keys.empty() ? nullptr : CreateAcceleratorTableA(keys.data(), static_cast<int>(keys.size())));
}

void FormsRuntime::SetMenuOnWindow(LiveWindow& live) {
  live.menu.window = live.handle;
  if (live.menu.menu) SetMenu(live.handle, live.menu.menu);
  if (!app_) return;
  const WindowId id = live.id;
  app_->Loop().SetPreTranslateHook(live.handle, [this, id](MSG& message) { return PreTranslate(id, message); });
}

// Keys of this window and its controls only: the chain also passes an owned window's keys on.
bool FormsRuntime::PreTranslate(WindowId id, MSG& message) {
  LiveWindow* live = Live(id);
  if (!live || live->loading || GetAncestor(message.hwnd, GA_ROOT) != live->handle) return false;
  if (live->accelerators.table && IsWindowEnabled(live->handle) &&
      TranslateAcceleratorA(live->handle, live->accelerators.table, &message)) {
    return true;
  }
  // A control the application put on the window itself (the hotkey input) is no unit, so its keys
  // never pass the units' keyboard handling: it keeps the keys it records, but Esc and Tab are
  // the window's.
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && !Find(message.hwnd) &&
      GetParent(message.hwnd) == live->handle) {
    const UINT key = static_cast<UINT>(message.wParam & 0xFF);
    if (key == VK_ESCAPE || key == VK_TAB) return HandleKey(*live, nullptr, key);
  }
  return false;
}

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

void FormsRuntime::Attach(LiveWindow& live, std::size_t index) {
  HWND handle = live.units[index].handle;
  if (!handle) return;
  byHandle_[handle] = {live.id, index};
  SetWindowSubclass(handle, &FormsRuntime::UnitProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void FormsRuntime::LoadCursor(LiveWindow& live, std::size_t index) {
  const WindowRecord& record = RecordOf(live.id);
  const auto& bytes = record.units.Record(index).mousePointer;
  bool owned = false;
  HCURSOR cursor = bytes.empty() ? nullptr : CursorFromBytes(bytes, owned);
  live.units[index].cursor.Reset(cursor, owned);
}

void FormsRuntime::Recreate(WindowRecord& record, LiveWindow& live, std::size_t index) {
  EventSuppression quiet;
  LiveUnit& unit = live.units[index];
  HWND old = unit.handle;
  if (!old || index == 0) return;
  HWND parent = GetParent(old);
  HWND above = GetWindow(old, GW_HWNDPREV);
  const int controlId = GetDlgCtrlID(old);
  const bool visible = (GetWindowLongPtrA(old, GWL_STYLE) & WS_VISIBLE) != 0;
  const KindData data = unit.control->CurrentData();
  const UnitRecord unitRecord = record.units.Record(index);
  UnitCreateContext context{unitRecord, data, live.handle, false, controlId, 0};
  if (unitRecord.flags & unit_flags::kDisabled) context.commonStyle |= WS_DISABLED;
  if (unitRecord.flags & unit_flags::kTabStop) context.commonStyle |= WS_TABSTOP;
  auto control = createUnit_(context);
  if (!control) return;
  byHandle_.erase(old);
  unit.control = std::move(control);  // the old control goes with its window
  unit.handle = unit.control->Handle();
  if (!unit.handle) return;
  Attach(live, index);
  if (parent && parent != live.handle) SetParent(unit.handle, parent);
  SetWindowPos(unit.handle, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  unit.control->AllUnitsCreated(live.lookup);
  SendMessageA(unit.handle, kUnitsCreated, 0, 0);
  if (visible) ShowWindow(unit.handle, SW_SHOWNA);
}

bool FormsRuntime::CreateAddedUnit(WindowId window, UnitId unit, HWND parent) {
  LiveWindow* live = Live(window);
  WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window);
  if (!live || !record) return false;
  const auto index = record->units.IndexOf(unit);
  if (!index || *index == 0 || record->units.IsMenuItem(*index)) return false;
  KindDataResult data = ReadKindData(record->units.Record(*index).kind, record->units.KindData(*index));
  if (data.status != KindDataStatus::Ok) return false;
  live->units.resize(record->units.Count());
  // Control ids go up in tens; the new one follows the highest in use.
  int controlId = 100;
  for (const LiveUnit& other : live->units) {
    if (other.handle && other.handle != live->handle) controlId = std::max(controlId, GetDlgCtrlID(other.handle) + 10);
  }
  const UnitRecord unitRecord = record->units.Record(*index);
  UnitCreateContext context{unitRecord, data.data, live->handle, false, controlId, 0};
  if (unitRecord.flags & unit_flags::kDisabled) context.commonStyle |= WS_DISABLED;
  if (unitRecord.flags & unit_flags::kTabStop) context.commonStyle |= WS_TABSTOP;
  EventSuppression quiet;
  auto control = createUnit_(context);
  if (!control) return false;
  LiveUnit& made = live->units[*index];
  made.control = std::move(control);
  made.handle = made.control->Handle();
  Attach(*live, *index);
  if (made.handle && parent && parent != live->handle) SetParent(made.handle, parent);
  LoadCursor(*live, *index);
  made.control->AllUnitsCreated(live->lookup);
  if (made.handle) {
    SendMessageA(made.handle, kUnitsCreated, 0, 0);
    const KindDescription* kind = FindKind(unitRecord.kind);
    const bool neverShown = kind && (kind->state & kind_state::kNeverShown);
    if (!neverShown && (unitRecord.flags & unit_flags::kVisible)) ShowWindow(made.handle, SW_SHOWNA);
  }
  return true;
}

void FormsRuntime::RemoveUnit(WindowId window, UnitId unit) {
  WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(window);
  if (!record) return;
  const auto index = record->units.IndexOf(unit);
  if (!index || *index == 0) return;
  if (LiveWindow* live = Live(window); live && *index < live->units.size()) {
    LiveUnit gone = std::move(live->units[*index]);
    live->units.erase(live->units.begin() + static_cast<std::ptrdiff_t>(*index));
    if (gone.handle) byHandle_.erase(gone.handle);
    // The live units are kept by list index: those after the removed one move up.
    for (auto& [handle, at] : byHandle_) {
      if (at.window == window && at.index > *index) --at.index;
    }
    gone.control.reset();
  }
  const UnitId parent = record->units.Record(*index).parent;
  record->units.Remove(*index);
  if (const auto parentIndex = parent ? record->units.IndexOf(parent) : std::nullopt) {
    std::vector<UnitId> children = record->units.Record(*parentIndex).children;
    const auto kept = std::remove(children.begin(), children.end(), unit);
    if (kept != children.end()) {
      children.erase(kept, children.end());
      record->units.ReplaceChildren(*parentIndex, children);
    }
  }
}

void FormsRuntime::RunModal(LiveWindow& live) {
  const WindowId id = live.id;
  HWND handle = live.handle;
  for (const auto& [otherId, other] : live_) {
    if (otherId == id || !other->handle || !IsWindow(other->handle)) continue;
    live.disabledOthers.emplace_back(other->handle, IsWindowEnabled(other->handle) != FALSE);
    EnableWindow(other->handle, FALSE);
  }
  app_->Loop().RunModal(handle);
  // A quit can end the nested loop while the window is still there.
  if (LiveWindow* still = Live(id)) EnableOthers(*still);
}

void FormsRuntime::EnableOthers(LiveWindow& live) {
  // Before the modal window goes: the system hands the activation on to a window that is enabled
  // by then, so the owner gets the keyboard back.
  for (auto [other, enabled] : live.disabledOthers) {
    if (IsWindow(other)) EnableWindow(other, enabled);
  }
  live.disabledOthers.clear();
}

void FormsRuntime::CloseWindow(WindowId window, bool atOnce) {
  LiveWindow* live = Live(window);
  if (!live || !live->handle) return;
  live->closing = true;
  if (atOnce) {
    SendMessageA(live->handle, kCloseSelf, 0, 0);
  } else {
    PostMessageA(live->handle, kCloseSelf, 0, 0);
  }
}

// ---- messages ----

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

bool FormsRuntime::HandleKey(LiveWindow& live, UnitControl* focused, UINT key) {
  if (focused && focused->ClaimsKey(key)) return false;
  std::vector<KindData> data;
  ReadWindowKindData(RecordOf(live.id), &data);
  const WindowData& settings = WindowSettings(data);
  switch (key) {
    case VK_ESCAPE:
      if (!settings.escCloses) return false;
      PostMessageA(live.handle, WM_CLOSE, 0, 0);
      return true;
    case VK_RETURN:
      if (!settings.enterMovesFocus) return false;
      MoveFocus(live, true);
      return true;
    case VK_F1:
      if (!settings.f1OpensHelp) return false;
      if (!settings.helpFile.empty()) {
        ShellExecuteA(live.handle, "open", settings.helpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      return true;
    case VK_TAB:
      if (GetKeyState(VK_MENU) < 0) return false;  // Alt+Tab belongs to the system
      MoveFocus(live, GetKeyState(VK_SHIFT) >= 0);
      return true;
    default:
      return false;
  }
}

// The units in list order, then the controls the application added to the window at run time,
// in the order they were made.
std::vector<HWND> FormsRuntime::FocusOrder(const LiveWindow& live) const {
  std::vector<HWND> order;
  for (std::size_t i = 1; i < live.units.size(); ++i) {
    if (live.units[i].handle) order.push_back(live.units[i].handle);
  }
  for (HWND child = GetWindow(live.handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!Find(child)) order.push_back(child);
  }
  return order;
}

void FormsRuntime::MoveFocus(LiveWindow& live, bool forward) {
  const std::vector<HWND> order = FocusOrder(live);
  const std::size_t n = order.size();
  if (n == 0) return;
  // From the window itself (or nothing of it) forward starts at the first, backward at the last.
  const auto focused = std::find(order.begin(), order.end(), GetFocus());
  const std::size_t current =
      focused == order.end() ? (forward ? n - 1 : 0) : static_cast<std::size_t>(focused - order.begin());
  for (std::size_t step = 1; step <= n; ++step) {
    HWND handle = order[forward ? (current + step) % n : (current + n - step) % n];
    if (!IsWindowVisible(handle) || !IsWindowEnabled(handle)) continue;
    if (!(GetWindowLongPtrA(handle, GWL_STYLE) & WS_TABSTOP)) continue;
    SetFocus(handle);
    return;
  }
}

void FormsRuntime::Destroyed(HWND handle, const Location& at) {
  byHandle_.erase(handle);
  LiveWindow* live = Live(at.window);
  if (!live) return;
  if (at.index != 0) {
    if (at.index < live->units.size() && live->units[at.index].handle == handle) live->units[at.index].handle = nullptr;
    return;
  }
  EnableOthers(*live);
  if (app_) app_->Loop().RemovePreTranslateHook(handle);
  for (LiveUnit& unit : live->units) {
    unit.cursor.Reset();
    if (unit.handle) byHandle_.erase(unit.handle);
  }
  auto found = live_.find(at.window);
  std::unique_ptr<LiveWindow> gone = std::move(found->second);
  live_.erase(found);
  if (app_) app_->WindowDestroyed(handle, at.window);
}

// ---- properties ----

runtime::Value FormsRuntime::ReadProperty(WindowId window, UnitId unit, int property) {
  WindowRecord& record = RecordOf(window);
  const std::size_t index = IndexOf(record, unit);
  if (record.units.IsMenuItem(index)) {
    const UnitRecord& item = record.units.Record(index);
    switch (property) {
      case 0: return runtime::Value(runtime::TextValue(item.menuCaption));
      case 1: return runtime::Value::Adopt(runtime::ValueCell::Bool(item.menuValues[2] & 4));
      case 2: return runtime::Value::Adopt(runtime::ValueCell::Bool(item.menuValues[2] & 2));
      case 3: return runtime::Value::Adopt(runtime::ValueCell::Bool(!(item.menuValues[2] & 1)));
      default: return runtime::Value();
    }
  }
  LiveWindow* live = Live(window);
  HWND handle = live && index < live->units.size() ? live->units[index].handle : nullptr;
  const UnitRecord& stored = record.units.Record(index);
  using namespace common_property;
  switch (property) {
    case kLeft: case kTop: case kWidth: case kHeight: {
      Geometry g = stored.geometry;
      if (handle) {
        RECT rect;
        GetWindowRect(handle, &rect);
        if (index != 0) MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
        g = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
      }
      const std::int32_t values[] = {g.left, g.top, g.width, g.height};
      return runtime::Value::Adopt(runtime::ValueCell::Integer(values[property]));
    }
    case kTag: return runtime::Value(runtime::TextValue(stored.tag));
    case kVisible:
      return runtime::Value::Adopt(runtime::ValueCell::Bool(
          handle ? (GetWindowLongPtrA(handle, GWL_STYLE) & WS_VISIBLE) != 0 : (stored.flags & unit_flags::kVisible) != 0));
    case kDisabled:
      return runtime::Value::Adopt(runtime::ValueCell::Bool(
          handle ? !IsWindowEnabled(handle) : (stored.flags & unit_flags::kDisabled) != 0));
    case kMousePointer: return runtime::Value(runtime::ByteSet(stored.mousePointer));
    default: break;
  }
  if (!live || index >= live->units.size() || !live->units[index].control) {
    runtime::ReportError(runtime::error_codes::Text, kWindowNotLoaded);
  }
  runtime::Value value;
  live->units[index].control->ReadProperty(property - kFirstKindProperty, value);
  // Bools read as "equals 1"; the rest as the kind gives them.
  const KindDescription* kind = FindKind(stored.kind);
  if (kind && static_cast<std::size_t>(property) < kind->properties.size() &&
      kind->properties[static_cast<std::size_t>(property)].type == PropertyType::Bool && value.tag() != runtime::tags::Text) {
    return runtime::Value::Adopt(runtime::ValueCell::Bool(value.cell().low == 1));
  }
  return value;
}

void FormsRuntime::WriteProperty(WindowId window, UnitId unit, int property, const runtime::ValueCell& value) {
  WindowRecord& record = RecordOf(window);
  const std::size_t index = IndexOf(record, unit);
  LiveWindow* live = Live(window);
  if (record.units.IsMenuItem(index)) {
    std::uint32_t flags = record.units.Record(index).menuValues[2];
    const auto setBit = [&flags](std::uint32_t bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); };
    switch (property) {
      case 0: {
        const auto* text = static_cast<const char*>(value.Pointer());
        record.units.ReplaceMenuCaption(index, text ? std::string_view(text) : std::string_view());
        break;
      }
      case 1: setBit(kMenuChecked, value.low != 0); break;
      case 2: setBit(kMenuDisabled, value.low != 0); break;
      case 3: setBit(kMenuHidden, value.low == 0); break;
      default: return;
    }
    if (property != 0) record.units.SetMenuFlags(index, flags);
    if (live && live->handle) {
      // The bar is made again from the records, so a shown item is back in its place.
      live->menuEntries = MenuEntries(record.units);
      HMENU next = MakeMenu(live->menuEntries);
      SetMenu(live->handle, next);
      live->menu.Reset(next);
      DrawMenuBar(live->handle);
    }
    return;
  }
  HWND handle = live && index < live->units.size() ? live->units[index].handle : nullptr;
  using namespace common_property;
  switch (property) {
    case kLeft: case kTop: case kWidth: case kHeight: {
      Geometry g = record.units.Record(index).geometry;
      const std::int32_t v = value.AsInteger();
      if (property == kLeft) g.left = ClampPosition(v);
      if (property == kTop) g.top = ClampPosition(v);
      if (property == kWidth) g.width = ClampSize(v);
      if (property == kHeight) g.height = ClampSize(v);
      record.units.SetGeometry(index, g);
      if (handle) {
        const UINT keep = (property <= kTop) ? SWP_NOSIZE : SWP_NOMOVE;
        // The other half of the live rectangle stays as it is.
        RECT rect;
        GetWindowRect(handle, &rect);
        if (index != 0) MapWindowPoints(nullptr, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
        const int left = property == kLeft ? g.left : rect.left;
        const int top = property == kTop ? g.top : rect.top;
        const int width = property == kWidth ? g.width : rect.right - rect.left;
        const int height = property == kHeight ? g.height : rect.bottom - rect.top;
        SetWindowPos(handle, nullptr, left, top, width, height, keep | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return;
    }
    case kTag: {
      const auto* text = static_cast<const char*>(value.Pointer());
      record.units.ReplaceTag(index, text ? std::string_view(text) : std::string_view());
      return;
    }
    case kVisible: case kDisabled: {
      const std::uint32_t bit = property == kVisible ? unit_flags::kVisible : unit_flags::kDisabled;
      const bool on = value.low != 0;
      const std::uint32_t flags = record.units.Record(index).flags;
      record.units.SetFlags(index, on ? (flags | bit) : (flags & ~bit));
      if (!handle) return;
      if (property == kDisabled) {
        EnableWindow(handle, on ? FALSE : TRUE);
      } else if (!on) {
        ShowWindow(handle, SW_HIDE);
      } else if (index == 0) {
        if (!IsWindowVisible(handle)) ShowLoadedWindow(*live);
      } else {
        ShowWindow(handle, SW_SHOWNA);
      }
      return;
    }
    case kMousePointer: {
      const runtime::ByteSetRef bytes = runtime::ByteSetRef::FromBlock(value.Pointer());
      record.units.ReplaceMousePointer(index, bytes.span());
      if (live && index < live->units.size()) {
        LoadCursor(*live, index);
        // A mouse move makes the new cursor show at once.
        POINT at;
        if (GetCursorPos(&at)) SetCursorPos(at.x, at.y);
      }
      return;
    }
    default: break;
  }
  if (!live || index >= live->units.size() || !live->units[index].control) {
    runtime::ReportError(runtime::error_codes::Text, kWindowNotLoaded);
  }
  runtime::ValueCell converted = value;
  const UnitRecord& stored = record.units.Record(index);
  const KindDescription* kind = FindKind(stored.kind);
  if (kind && static_cast<std::size_t>(property) < kind->properties.size()) {
    const PropertyType type = kind->properties[static_cast<std::size_t>(property)].type;
    if (type == PropertyType::Bool) converted = runtime::ValueCell::Bool(value.low != 0);
    if (type == PropertyType::Pick && value.AsInteger() < 0) converted = runtime::ValueCell::Integer(0);
  }
  const auto outcome = live->units[index].control->WriteProperty(property - kFirstKindProperty, converted);
  if (outcome == UnitControl::WriteOutcome::Recreate) Recreate(record, *live, index);
}

}  // namespace forms
