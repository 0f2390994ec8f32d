#pragma once
// Playing the effects: one stream at a time, at the volume slider's level.
#include <string>

#include "forms/event_dispatch.h"
#include "runtime/values/unit_ref.h"

namespace board {

// The board's only way to start a sound: the previous stream is freed first, the new one gets
// the slider's level and plays from its start. A file that cannot be opened plays silence.
void PlayFile(const std::string& path);
// Plays <run directory>\data\music\<the button's caption>.mp3.
void PlayButtonSound(const runtime::UnitRef& button);

forms::HandlerReturn SoundClicked(std::span<const std::int32_t> arguments);
forms::HandlerReturn StopClicked(std::span<const std::int32_t> arguments);

}  // namespace board
