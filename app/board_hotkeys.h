#pragma once
// Global hotkeys of the sound buttons and the stop button, and the dialog that sets them.
#include "forms/event_dispatch.h"

namespace board {

// Start-up: registers the stored hotkeys, sets the buttons' tooltips and sends the events of
// every sound button to the first one.
void RestoreHotkeys();

forms::HandlerReturn SoundEditHotkey(std::span<const std::int32_t> arguments);
forms::HandlerReturn StopEditHotkey(std::span<const std::int32_t> arguments);
forms::HandlerReturn HotkeyDialogCreated(std::span<const std::int32_t> arguments);
forms::HandlerReturn HotkeyDialogOk(std::span<const std::int32_t> arguments);
forms::HandlerReturn HotkeyDialogCancel(std::span<const std::int32_t> arguments);
// The hotkey label's Feedback: the first argument is the pressed hotkey's id.
forms::HandlerReturn HotkeyPressed(std::span<const std::int32_t> arguments);

}  // namespace board
