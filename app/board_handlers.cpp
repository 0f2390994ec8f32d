#include "app/board_handlers.h"

#include <array>

namespace board {
namespace {

// Closing the board frees nothing yet: no sound output is open before playback exists.
forms::HandlerReturn MainCloseRequested(std::span<const std::int32_t>) { return forms::NoResult(); }

constexpr std::array<forms::EventHandler, kHandlerCount> MakeTable() {
  std::array<forms::EventHandler, kHandlerCount> table{};
  table[kMainCloseRequested] = &MainCloseRequested;
  return table;
}

constexpr std::array<forms::EventHandler, kHandlerCount> kBoardHandlers = MakeTable();

}  // namespace

std::span<const forms::EventHandler> BoardHandlers() { return kBoardHandlers; }

}  // namespace board
