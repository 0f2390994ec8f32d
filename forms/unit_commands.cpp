#include "forms/unit_commands.h"

#include "forms/event_dispatch.h"
#include "forms/forms_runtime_win.h"
#include "forms/kinds.h"
#include "forms/unit_copy.h"
#include "forms/unit_filter.h"
#include "runtime/values/type_tag.h"

namespace forms {
namespace {

FormsRuntime& Forms() { return FormsRuntime::Instance(); }

WindowRecord* WindowOf(const runtime::UnitRef& unit) {
  return ProcessWindowDefinitions().Resource().WindowById(static_cast<WindowId>(unit.window_id));
}

std::optional<std::size_t> IndexOf(const WindowRecord& window, const runtime::UnitRef& unit) {
  return window.units.IndexOfUnitOrWindow(static_cast<UnitId>(unit.unit_id));
}

}  // namespace

HWND GetWindowHandle(const runtime::UnitRef& unit) {
  return Forms().UnitHandle(static_cast<WindowId>(unit.window_id), static_cast<UnitId>(unit.unit_id));
}

bool LoadWindow(const runtime::UnitRef& window, const std::optional<runtime::UnitRef>& owner, bool modal) {
  const WindowId ownerId = owner ? static_cast<WindowId>(owner->window_id) : 0;
  return Forms().LoadWindow(static_cast<WindowId>(window.window_id), ownerId, modal);
}

void DestroyUnit(const runtime::UnitRef& unit, bool atOnce) {
  const WindowRecord* record = WindowOf(unit);
  if (!record) return;
  const auto index = IndexOf(*record, unit);
  if (!index) return;
  if (*index == 0) {
    Forms().CloseWindow(record->id, atOnce);
  } else if (!record->units.IsMenuItem(*index)) {
    Forms().RemoveUnit(record->id, record->units.IdAt(*index));
  }
}

bool CopyUnit(const runtime::UnitRef& source, runtime::UnitRef& target) {
  WindowRecord* record = WindowOf(source);
  if (!record || !Forms().IsLoaded(record->id)) return false;
  const auto index = IndexOf(*record, source);
  if (!index || *index == 0 || record->units.IsMenuItem(*index)) return false;
  UnitList& units = record->units;
  const KindId kind = units.Record(*index).kind;
  if (target.kind != kind) return false;
  const auto id = FreeUnitId(units, units.IdAt(*index));
  if (!id || !units.Append(*id, CopiedUnitBody(units, *index))) return false;
  const UnitId parent = units.Record(*index).parent;
  HWND parentHandle = parent ? Forms().UnitHandle(record->id, parent) : nullptr;
  if (!Forms().CreateAddedUnit(record->id, *id, parentHandle)) {
    units.Remove(units.Count() - 1);
    return false;
  }
  target = {source.window_id, static_cast<std::int32_t>(*id), kind};
  return true;
}

bool IsUnitValid(const runtime::UnitRef& unit) {
  const WindowRecord* record = WindowOf(unit);
  if (!record || !Forms().IsLoaded(record->id)) return false;
  return IndexOf(*record, unit).has_value();
}

runtime::TextValue GetUnitName(const runtime::UnitRef& unit) {
  const WindowRecord* record = WindowOf(unit);
  if (!record) return {};
  const auto index = IndexOf(*record, unit);
  return index ? runtime::TextValue(record->units.Record(*index).name) : runtime::TextValue();
}

runtime::UnitRef GetEventUnitRef() {
  const EventUnit current = GetEventUnit();
  runtime::UnitRef unit{static_cast<std::int32_t>(current.window), static_cast<std::int32_t>(current.unit),
                        kind_ids::kWindow};
  if (const WindowRecord* record = ProcessWindowDefinitions().Resource().WindowById(current.window)) {
    if (auto index = record->units.IndexOf(current.unit)) unit.kind = record->units.Record(*index).kind;
  }
  return unit;
}

bool RedirectEvents(const runtime::UnitRef& source, const std::optional<runtime::UnitRef>& target) {
  if (runtime::ClassOf(source.kind) != runtime::TagClass::Library) return false;
  WindowRecord* record = WindowOf(source);
  if (!record) return false;
  UnitList& units = record->units;
  const auto sourceIndex = IndexOf(*record, source);
  // A unit the window does not hold is a mistake, not a request to clear the whole window.
  if (!sourceIndex) return false;
  if (*sourceIndex == 0) {
    for (std::size_t i = 0; i < units.Count(); ++i) {
      if (!units.IsMenuItem(i)) units.SetRedirectTarget(i, 0);
    }
    return true;
  }
  if (!target) {
    units.SetRedirectTarget(*sourceIndex, 0);
    return true;
  }
  if (target->window_id != source.window_id) return false;
  const auto targetIndex = IndexOf(*record, *target);
  if (!targetIndex || units.IsMenuItem(*targetIndex) ||
      units.Record(*targetIndex).kind != units.Record(*sourceIndex).kind) {
    return false;
  }
  units.SetRedirectTarget(*sourceIndex, units.IdAt(*targetIndex));
  return true;
}

UnitCollectionPtr EnumerateUnits(const runtime::UnitRef& parent, const EnumerateOptions& options) {
  if (runtime::ClassOf(parent.kind) != runtime::TagClass::Library) return nullptr;
  const WindowRecord* record = WindowOf(parent);
  if (!record || !Forms().IsLoaded(record->id)) return nullptr;
  const auto parentIndex = IndexOf(*record, parent);
  if (!parentIndex) return nullptr;
  HWND parentHandle = Forms().UnitHandle(record->id, record->units.IdAt(*parentIndex));
  if (!parentHandle) return nullptr;

  UnitFilter filter;
  if (options.namePrefix) filter.namePrefix = std::string(*options.namePrefix);
  if (options.kindName) filter.kindName = std::string(*options.kindName);
  if (options.smallestTag) filter.smallestTag = *options.smallestTag;
  if (options.largestTag) filter.largestTag = *options.largestTag;

  std::vector<runtime::UnitRef> found;
  const UnitList& units = record->units;
  for (std::size_t i = 0; i < units.Count(); ++i) {
    if (units.IsMenuItem(i)) continue;
    HWND handle = Forms().UnitHandle(record->id, units.IdAt(i));
    if (!handle || handle == parentHandle || !IsChild(parentHandle, handle)) continue;
    const UnitRecord& unit = units.Record(i);
    const KindDescription* kind = FindKind(unit.kind);
    if (!filter.Matches(unit.name, kind ? kind->name : std::string_view(), unit.tag)) continue;
    found.push_back({static_cast<std::int32_t>(record->id), static_cast<std::int32_t>(units.IdAt(i)), unit.kind});
  }
  if (found.empty()) return nullptr;
  return std::make_unique<UnitCollection>(std::move(found));
}

std::int32_t CollectionCount(const UnitCollection* collection) {
  return collection ? static_cast<std::int32_t>(collection->Units().size()) : 0;
}

runtime::UnitRef CollectionItem(const UnitCollection* collection, std::int32_t index) {
  if (!collection || index < 0 || static_cast<std::size_t>(index) >= collection->Units().size()) {
    return {0, 0, kind_ids::kWindow};
  }
  return collection->Units()[static_cast<std::size_t>(index)];
}

}  // namespace forms
