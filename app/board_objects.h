#pragma once
// The board's process-wide objects and state: made once before the first window exists,
// destroyed by the clean-up routine at the end of the process.
#include <cstdint>
#include <string>

#include "audio/audio_player.h"
#include "runtime/values/unit_ref.h"
#include "skin/skin_engine.h"
#include "skin/tab_strip.h"
#include "skin/window_wrapper.h"

namespace board {

// The process objects, in the order they are made: the player, the hotkey value, the window
// wrapper; the module initialisers then bring up the wrapper's module and the skin.
void ConstructObjects();
void InitialiseModules();
// The clean-up routine: destroys all of it.
void DestroyObjects();

audio::AudioPlayer& Player();
skin::WindowWrapper& Wrapper();
// Only between InitialiseModules and DestroyObjects.
skin::SkinEngine& Skin();
skin::TabStrip& Strip();

struct BoardState {
  audio::StreamHandle currentStream = 0;
  std::string runPrefix;                 // program directory and "\"
  runtime::UnitRef hotkeyEditTarget{};   // the button the hotkey dialog edits
  int hotkeyDialogApplied = 0;           // 1 after OK stored or cleared, 0 after Cancel
  std::uint16_t hotkeyValue = 0;         // key in the low byte, the control's flags in the high
};
BoardState& State();

}  // namespace board
