#include "app/board_event_units.h"

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

}  // namespace board
