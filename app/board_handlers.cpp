#include "app/board_handlers.h"

#include <array>

#include "app/board_skin.h"
#include "forms/unit_commands.h"

namespace board {
namespace {

// Closing the board frees nothing yet: no sound output is open before playback exists.
forms::HandlerReturn MainCloseRequested(std::span<const std::int32_t>) { return forms::NoResult(); }

constexpr runtime::UnitRef kMainWindowUnit{0x52010001, 0x06010000, 0x00010001};

forms::HandlerReturn MainCreated(std::span<const std::int32_t>) {
  AttachBoardSkin(forms::GetWindowHandle(kMainWindowUnit));
  return forms::NoResult();
}

constexpr std::array<forms::EventHandler, kHandlerCount> MakeTable() {
  std::array<forms::EventHandler, kHandlerCount> table{};
  table[kMainCloseRequested] = &MainCloseRequested;
  table[kMainCreated] = &MainCreated;
  return table;
}

constexpr std::array<forms::EventHandler, kHandlerCount> kBoardHandlers = MakeTable();

}  // namespace

std::span<const forms::EventHandler> BoardHandlers() { return kBoardHandlers; }

}  // namespace board
