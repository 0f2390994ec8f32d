#include "app/board_channel.h"

#include <algorithm>
#include <string>

#include "app/board_config.h"
#include "app/board_objects.h"
#include "app/board_rules.h"
#include "app/board_units.h"
#include "audio/bass_commands.h"
#include "forms/combo_commands.h"
#include "forms/unit_properties.h"
#include "runtime/services/dialogs_win.h"

namespace board {
namespace {

constexpr int kDevicesAsked = 5;
constexpr int kFixedListHighest = 4;
constexpr unsigned kFailureBoxFlags = 0x1030;  // warning icon, system-modal

int SelectedValue() {
  const int index = forms::ReadIntProperty(units::kChannelBox, forms::property::kComboCurrentIndex);
  return forms::ComboItemValue(units::kChannelBox, index);
}

void Select(int index) {
  forms::WriteIntProperty(units::kChannelBox, forms::property::kComboCurrentIndex, index);
}

}  // namespace

void BuildChannelList(int savedPassage) {
  runtime::DllCommandTable& bass = runtime::DllCommands();
  audio::AudioPlayer& player = Player();
  const auto& box = units::kChannelBox;
  // This first opening only lets the library name its devices.
  player.Init();
  forms::AddComboItem(box, "不输出音效", 0);
  const int current = bass.Call(audio::bass::kGetDevice);
  if (current > 0) {
    for (DWORD device = 1; device <= kDevicesAsked; ++device) {
      audio::BassDeviceInfo info{};
      if (bass.Call(audio::bass::kGetDeviceInfo, device, &info) && info.name) forms::AddComboItem(box, info.name);
    }
    // Each item's value is its place in the list, the device number the library opens.
    const int count = forms::ComboCount(box);
    for (int i = 0; i < count; ++i) forms::SetComboItemValue(box, i, i);
    Select(StartSelection(savedPassage, count));
  } else {
    forms::AddComboItem(box, "系统音源", 1);
    forms::AddComboItem(box, "4/5", 2);
    forms::AddComboItem(box, "6/7", 3);
    forms::AddComboItem(box, "8/9", 4);
    Select(StartSelection(savedPassage, kFixedListHighest));
  }
  bass.Call(audio::bass::kFree);
  player.Init(SelectedValue());
}

// Values outside the slider's range come only from a hand-edited file; they must not reach the
// stream as a gain above full level.
void RestoreVolume(int savedVolume) {
  forms::WriteIntProperty(units::kVolumeSlider, forms::property::kSliderPosition, std::clamp(savedVolume, 0, 100));
}

// Only a device that opened is saved; a failed one leaves the output closed.
forms::HandlerReturn ChannelSelected(std::span<const std::int32_t>) {
  runtime::DllCommands().Call(audio::bass::kFree);
  const int value = SelectedValue();
  if (!Player().Init(value)) {
    services::ShowMessageBox("设备初始化失败！", kFailureBoxFlags, "失败");
    return forms::NoResult();
  }
  WriteSetting("music", "passage", std::to_string(value));
  const int index = forms::ReadIntProperty(units::kChannelBox, forms::property::kComboCurrentIndex);
  services::ShowMessageBox("设备" + forms::ComboItemText(units::kChannelBox, index) + "初始化成功！", 0);
  return forms::NoResult();
}

forms::HandlerReturn VolumeChanged(std::span<const std::int32_t>) {
  const int position = forms::ReadIntProperty(units::kVolumeSlider, forms::property::kSliderPosition);
  WriteSetting("music", "volume", std::to_string(position));
  Player().SetChannelVolume(State().currentStream, static_cast<float>(position / 100.0));
  return forms::NoResult();
}

}  // namespace board
