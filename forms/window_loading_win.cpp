// Loading a window from its definition, and units made anew, added or removed while it lives.
#include "forms/forms_runtime_win.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/forms_runtime_parts_win.h"
#include "forms/input_mapping.h"
#include "forms/kinds.h"
#include "runtime/time_marks_win.h"

namespace forms {

using namespace runtime_parts;

namespace {

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

}  // namespace

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
  auto owned = std::make_unique<LiveWindow>(*this, window);
  LiveWindow& live = *owned;
  live.modal = modal;
  live_[window] = std::move(owned);
  HWND ownerHandle = owner ? WindowHandle(owner) : nullptr;
  HWND handle = nullptr;
  {
    const runtime::marks::Span span("units");
    handle = CreateWindowUnits(*record, live, ownerHandle, modal);
  }
  if (!handle) {
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
  if (!Live(window)) return false;
  live.loading = false;

  {
    const runtime::marks::Span span("created");
    RaiseFor(live, 0, window_event::kCreated, {});
  }
  if (!IsLoaded(window)) return modal;
  RaiseFor(live, 0, window_event::kMoved, {});
  if (!IsLoaded(window)) return modal;
  RaiseFor(live, 0, window_event::kResized, {});
  if (!IsLoaded(window)) return modal;

  if (record->units.Record(0).flags & unit_flags::kVisible) {
    {
      const runtime::marks::Span span("show");
      ShowLoadedWindow(live);
    }
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
  const WindowData settings = WindowSettings(RecordOf(window));
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
  // Control ids follow the order above. The units other units live in are made first, so that
  // each of the others is made inside its parent at once: moving hundreds of made controls into
  // their parents afterwards costs more than making them.
  std::vector<int> controlIds(units.Count(), 0);
  std::vector<bool> isParent(units.Count(), false);
  int nextId = 100;
  for (std::size_t i = units.Count(); i-- > 1;) {
    if (units.IsMenuItem(i)) continue;
    controlIds[i] = nextId;
    nextId += 10;
    if (const auto parent = units.IndexOf(units.Record(i).parent)) isParent[*parent] = true;
  }
  for (const bool parentsPass : {true, false}) {
    for (std::size_t i = units.Count(); i-- > 1;) {
      if (units.IsMenuItem(i) || isParent[i] != parentsPass) continue;
      const UnitRecord& unitRecord = units.Record(i);
      HWND parent = live.handle;
      if (const auto at = units.IndexOf(unitRecord.parent); unitRecord.parent != 0 && at && live.units[*at].handle) {
        parent = live.units[*at].handle;
      }
      live.units[i].control = createUnit_(ControlContext(unitRecord, data[i], parent, controlIds[i]));
      if (!live.units[i].control) return nullptr;
      live.units[i].handle = live.units[i].control->Handle();
      Attach(live, i);
    }
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
    HWND parent = parentIndex ? live.units[*parentIndex].handle : nullptr;
    if (parent && GetParent(live.units[i].handle) != parent) SetParent(live.units[i].handle, parent);
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
  auto control = createUnit_(ControlContext(unitRecord, data, live.handle, controlId));
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
  EventSuppression quiet;
  auto control = createUnit_(ControlContext(unitRecord, data.data, live->handle, controlId));
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

}  // namespace forms
