#pragma once
// The board's handler table: the window resource binds its events to these entries by position,
// in the order forms/layout/windows.layout names them (main_close_requested is offset 0).
#include <cstddef>
#include <span>

#include "forms/event_dispatch.h"

namespace board {

enum HandlerSlot : std::size_t {
  kMainCloseRequested,
  kMainCreated,
  kOpenWebsite,
  kOpenShop,
  kOpenContact1,
  kOpenContact2,
  kSlotAssign,
  kSlotPlay,
  kSoundPlay,
  kSoundEditHotkey,
  kStopPlay,
  kStopEditHotkey,
  kVolumeChanged,
  kChannelSelected,
  kHotkeyPressed,
  kHotkeyDialogCreated,
  kHotkeyDialogCancel,
  kHotkeyDialogOk,
  kHandlerCount
};

std::span<const forms::EventHandler> BoardHandlers();

}  // namespace board
