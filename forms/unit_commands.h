#pragma once
// The unit commands of the board's code: windows and units named by UnitRef.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/values/text_value.h"
#include "runtime/values/unit_ref.h"

namespace forms {

HWND GetWindowHandle(const runtime::UnitRef& unit);
// Owner optional; a modal load returns once the window has closed.
bool LoadWindow(const runtime::UnitRef& window, const std::optional<runtime::UnitRef>& owner, bool modal);
// A window closes after the calling handler has returned, or at once when asked (not from a
// handler of that window's own units); a control unit goes at once, out of its window's
// definition too.
void DestroyUnit(const runtime::UnitRef& unit, bool atOnce = false);
// A new unit of the source's kind and settings, without its event bindings and children, under
// the source's parent in its loaded window; the target must be of the same kind and gets the
// new unit.
bool CopyUnit(const runtime::UnitRef& source, runtime::UnitRef& target);
bool IsUnitValid(const runtime::UnitRef& unit);
runtime::TextValue GetUnitName(const runtime::UnitRef& unit);
runtime::UnitRef GetEventUnitRef();
bool RedirectEvents(const runtime::UnitRef& source, const std::optional<runtime::UnitRef>& target);

class UnitCollection {
 public:
  explicit UnitCollection(std::vector<runtime::UnitRef> units) : units_(std::move(units)) {}
  const std::vector<runtime::UnitRef>& Units() const { return units_; }

 private:
  std::vector<runtime::UnitRef> units_;
};
using UnitCollectionPtr = std::unique_ptr<UnitCollection>;

struct EnumerateOptions {
  std::optional<std::string_view> namePrefix;
  std::optional<std::string_view> kindName;
  std::optional<std::int32_t> smallestTag;
  std::optional<std::int32_t> largestTag;
};
// Null when nothing matches (or the parent's window is not loaded).
UnitCollectionPtr EnumerateUnits(const runtime::UnitRef& parent, const EnumerateOptions& options = {});
std::int32_t CollectionCount(const UnitCollection* collection);
// 0-based; outside the list an empty window reference.
runtime::UnitRef CollectionItem(const UnitCollection* collection, std::int32_t index);
inline void FreeCollection(UnitCollectionPtr& collection) { collection.reset(); }

}  // namespace forms
