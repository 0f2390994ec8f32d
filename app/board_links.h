#pragma once
// The two web buttons and the two contact badges. Their targets are fixed when the board is
// built (see BOARD_LINK_* in app/CMakeLists.txt); an empty target makes the click do nothing.
#include "forms/event_dispatch.h"

namespace board {

forms::HandlerReturn OpenWebsite(std::span<const std::int32_t> arguments);
forms::HandlerReturn OpenShop(std::span<const std::int32_t> arguments);
forms::HandlerReturn OpenContact1(std::span<const std::int32_t> arguments);
forms::HandlerReturn OpenContact2(std::span<const std::int32_t> arguments);

}  // namespace board
