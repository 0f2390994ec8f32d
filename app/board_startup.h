#pragma once
// The main window's Created handler (the board's start-up) and its close.
#include "forms/event_dispatch.h"

namespace board {

forms::HandlerReturn MainCreated(std::span<const std::int32_t> arguments);
// Never vetoes: the window closes whatever happened before.
forms::HandlerReturn MainCloseRequested(std::span<const std::int32_t> arguments);

}  // namespace board
