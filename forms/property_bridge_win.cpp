// Unit properties: common ones from records and live windows, the kinds' own through controls.
#include "forms/forms_runtime_win.h"

#include "forms/forms_runtime_parts_win.h"
#include "forms/kinds.h"
#include "forms/property_rules.h"
#include "runtime/values/error_report.h"

namespace forms {

using namespace runtime_parts;

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
