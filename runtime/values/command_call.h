#pragma once
// The one calling form of runtime commands: (result cell, argument count, argument cells).
// Commands never free their arguments; a text or byte set in the result is the caller's.
#include <cstddef>
#include <span>

#include "runtime/values/type_tag.h"
#include "runtime/values/value_cell.h"

namespace runtime {

using CommandImplementation = void (*)(ValueCell* result, int argument_count, ValueCell* arguments);

// Zeroes the result cell, calls the command and hands the cell back.
ValueCell CallCommand(CommandImplementation command, std::span<ValueCell> arguments);

// An omitted optional argument is an all-zero cell or missing from the end of the list;
// both give null here.
const ValueCell* OptionalArgument(std::span<const ValueCell> arguments, std::size_t index);

// A command whose result kind varies sets the tag; a caller expecting another kind reports
// error 5.
const ValueCell& ExpectResultKind(const ValueCell& result, TypeTag expected);

// Writes through a by-reference argument: the cell holds the address of the caller's
// variable, with the variable's tag (plain or indirect). Converts as StoreWithConversion does
// (a text variable gets a new block and its old one is freed) and returns the bytes consumed.
std::size_t StoreIntoVariable(const ValueCell& variable, const void* source, std::size_t source_size);

// Error 2 unless the value is a byte, short, integer, long integer, float or double.
const ValueCell& RequireNumeric(const ValueCell& value);

}  // namespace runtime
