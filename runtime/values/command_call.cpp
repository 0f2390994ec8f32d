#include "runtime/values/command_call.h"

#include "runtime/values/error_report.h"
#include "runtime/values/memory.h"

namespace runtime {

ValueCell CallCommand(CommandImplementation command, std::span<ValueCell> arguments) {
  ValueCell result{};
  command(&result, static_cast<int>(arguments.size()), arguments.data());
  return result;
}

const ValueCell* OptionalArgument(std::span<const ValueCell> arguments, std::size_t index) {
  if (index >= arguments.size()) return nullptr;
  const ValueCell& cell = arguments[index];
  if (cell.tag == tags::None && cell.low == 0 && cell.high == 0) return nullptr;
  return &cell;
}

const ValueCell& ExpectResultKind(const ValueCell& result, TypeTag expected) {
  if (result.tag != expected) ReportError(error_codes::TypeMismatch);
  return result;
}

std::size_t StoreIntoVariable(const ValueCell& variable, const void* source, std::size_t source_size) {
  return StoreWithConversion(PlainTag(variable.tag), variable.Pointer(), source, source_size);
}

const ValueCell& RequireNumeric(const ValueCell& value) {
  if (!IsNumericKind(value.tag)) ReportError(error_codes::NotNumeric);
  return value;
}

}  // namespace runtime
