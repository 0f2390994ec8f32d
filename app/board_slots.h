#pragma once
// The custom slots of the sixth page: a file and a name of the user's choice per button.
#include "forms/event_dispatch.h"

namespace board {

// Start-up: each slot's file into its tag and its name into its caption; the events of every
// slot go to the first one.
void RestoreSlots();

forms::HandlerReturn SlotAssign(std::span<const std::int32_t> arguments);
forms::HandlerReturn SlotPlay(std::span<const std::int32_t> arguments);

}  // namespace board
