#pragma once
// The output channel box and the volume slider.
#include "forms/event_dispatch.h"

namespace board {

// Start-up: fills the channel box (the audio library's devices, else the fixed pairs), selects
// the saved passage and opens that output; a failure there is silent.
void BuildChannelList(int savedPassage);
// Start-up: the saved volume onto the slider.
void RestoreVolume(int savedVolume);

forms::HandlerReturn ChannelSelected(std::span<const std::int32_t> arguments);
forms::HandlerReturn VolumeChanged(std::span<const std::int32_t> arguments);

}  // namespace board
