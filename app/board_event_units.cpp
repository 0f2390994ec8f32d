#include "app/board_event_units.h"

#include "app/board_units.h"
#include "forms/kinds.h"
#include "forms/unit_commands.h"
#include "runtime/values/error_report.h"

namespace board {

runtime::UnitRef EventButton() {
  const runtime::UnitRef unit = forms::GetEventUnitRef();
  if (unit.kind != forms::kind_ids::kButton) runtime::ReportError(runtime::error_codes::TypeMismatch);
  return unit;
}

std::string UnitName(const runtime::UnitRef& unit) { return std::string(forms::GetUnitName(unit).view()); }

std::vector<runtime::UnitRef> MainWindowButtons(std::string_view prefix) {
  forms::EnumerateOptions options;
  options.namePrefix = prefix;
  options.kindName = "按钮";
  const forms::UnitCollectionPtr found = forms::EnumerateUnits(units::kMainWindow, options);
  return found ? found->Units() : std::vector<runtime::UnitRef>{};
}

}  // namespace board
