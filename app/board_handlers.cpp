#include "app/board_handlers.h"

#include <array>

#include "app/board_channel.h"
#include "app/board_hotkeys.h"
#include "app/board_links.h"
#include "app/board_playback.h"
#include "app/board_slots.h"
#include "app/board_startup.h"

namespace board {
namespace {

constexpr std::array<forms::EventHandler, kHandlerCount> MakeTable() {
  std::array<forms::EventHandler, kHandlerCount> table{};
  table[kMainCloseRequested] = &MainCloseRequested;
  table[kMainCreated] = &MainCreated;
  table[kOpenWebsite] = &OpenWebsite;
  table[kOpenShop] = &OpenShop;
  table[kOpenContact1] = &OpenContact1;
  table[kOpenContact2] = &OpenContact2;
  table[kSlotAssign] = &SlotAssign;
  table[kSlotPlay] = &SlotPlay;
  table[kSoundPlay] = &SoundClicked;
  table[kSoundEditHotkey] = &SoundEditHotkey;
  table[kStopPlay] = &StopClicked;
  table[kStopEditHotkey] = &StopEditHotkey;
  table[kVolumeChanged] = &VolumeChanged;
  table[kChannelSelected] = &ChannelSelected;
  table[kHotkeyPressed] = &HotkeyPressed;
  table[kHotkeyDialogCreated] = &HotkeyDialogCreated;
  table[kHotkeyDialogCancel] = &HotkeyDialogCancel;
  table[kHotkeyDialogOk] = &HotkeyDialogOk;
  return table;
}

constexpr std::array<forms::EventHandler, kHandlerCount> kBoardHandlers = MakeTable();

}  // namespace

std::span<const forms::EventHandler> BoardHandlers() { return kBoardHandlers; }

}  // namespace board
