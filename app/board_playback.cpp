#include "app/board_playback.h"

#include "app/board_event_units.h"
#include "app/board_objects.h"
#include "app/board_units.h"
#include "forms/unit_commands.h"
#include "forms/unit_properties.h"

namespace board {

void PlayButtonSound(const runtime::UnitRef& button) {
  std::string path = State().runPrefix;
  path += "data\\music\\";
  path += forms::ReadTextProperty(button, forms::property::kButtonCaption);
  path += ".mp3";
  PlayFile(path);
}

void PlayFile(const std::string& path) {
  BoardState& state = State();
  audio::AudioPlayer& player = Player();
  player.FreeStream(state.currentStream);
  state.currentStream = player.CreateStream(runtime::TextRef(path), {}, {});
  const float level =
      static_cast<float>(forms::ReadIntProperty(units::kVolumeSlider, forms::property::kSliderPosition) / 100.0);
  player.SetChannelVolume(state.currentStream, level);
  player.Play(state.currentStream, true);
}

// Serves every sound button: the others redirect their events here.
forms::HandlerReturn SoundClicked(std::span<const std::int32_t>) {
  const runtime::UnitRef button = EventButton();
  if (!forms::IsUnitValid(button)) return forms::NoResult();
  PlayButtonSound(button);
  return forms::NoResult();
}

// The stream stays: the next play frees it.
forms::HandlerReturn StopClicked(std::span<const std::int32_t>) {
  Player().Stop(State().currentStream);
  return forms::NoResult();
}

}  // namespace board
