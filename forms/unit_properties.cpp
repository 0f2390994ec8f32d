#include "forms/unit_properties.h"

#include "forms/forms_runtime_win.h"
#include "runtime/values/text_value.h"
#include "runtime/values/value.h"

namespace forms {
namespace {

WindowId WindowOf(const runtime::UnitRef& unit) { return static_cast<WindowId>(unit.window_id); }
UnitId UnitOf(const runtime::UnitRef& unit) { return static_cast<UnitId>(unit.unit_id); }

}  // namespace

std::string ReadTextProperty(const runtime::UnitRef& unit, int property) {
  const runtime::Value value = FormsRuntime::Instance().ReadProperty(WindowOf(unit), UnitOf(unit), property);
  return std::string(value.text().view());
}

void WriteTextProperty(const runtime::UnitRef& unit, int property, std::string_view text) {
  const runtime::TextValue block(text);
  FormsRuntime::Instance().WriteProperty(WindowOf(unit), UnitOf(unit), property,
                                         runtime::ValueCell::Text(block.block()));
}

std::int32_t ReadIntProperty(const runtime::UnitRef& unit, int property) {
  const runtime::Value value = FormsRuntime::Instance().ReadProperty(WindowOf(unit), UnitOf(unit), property);
  return value.cell().AsInteger();
}

void WriteIntProperty(const runtime::UnitRef& unit, int property, std::int32_t value) {
  FormsRuntime::Instance().WriteProperty(WindowOf(unit), UnitOf(unit), property,
                                         runtime::ValueCell::Integer(value));
}

}  // namespace forms
