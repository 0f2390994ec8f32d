#include "runtime/services/dialog_values.h"

#include <cstring>

#include "runtime/values/conversion_commands.h"
#include "runtime/values/text_value.h"

namespace services {
namespace {

template <typename Kind>
void Put(const runtime::ValueCell& variable, Kind value) {
  std::memcpy(variable.Pointer(), &value, sizeof value);
}

}  // namespace

std::string MessageText(const runtime::ValueCell& message) {
  switch (message.tag) {
    case runtime::tags::Text:
    case runtime::tags::Byte: case runtime::tags::Short: case runtime::tags::Integer:
    case runtime::tags::Long: case runtime::tags::Float: case runtime::tags::Double:
    case runtime::tags::Bool: case runtime::tags::DateTime:
      return std::string(runtime::ToText(message).view());
    default:
      return {};
  }
}

bool StoreInput(std::string_view text, const runtime::ValueCell& variable) {
  if (!runtime::IsIndirect(variable.tag) || variable.Pointer() == nullptr) return false;
  switch (runtime::PlainTag(variable.tag)) {
    case runtime::tags::Text: {
      auto* slot = static_cast<char**>(variable.Pointer());
      runtime::TextValue::Adopt(*slot);  // the old text goes now
      *slot = runtime::TextValue(text).release();
      return true;
    }
    case runtime::tags::Byte: Put(variable, static_cast<std::uint8_t>(runtime::DecimalInteger(text))); return true;
    case runtime::tags::Short: Put(variable, static_cast<std::int16_t>(runtime::DecimalInteger(text))); return true;
    case runtime::tags::Integer: Put(variable, runtime::DecimalInteger(text)); return true;
    case runtime::tags::Long: Put(variable, runtime::DecimalLong(text)); return true;
    case runtime::tags::Float: Put(variable, static_cast<float>(runtime::DecimalDouble(text))); return true;
    case runtime::tags::Double: Put(variable, runtime::DecimalDouble(text)); return true;
    default: return false;
  }
}

}  // namespace services
