#include "app/board_hotkeys.h"

#include <string>
#include <vector>

#include "app/board_config.h"
#include "app/board_event_units.h"
#include "app/board_objects.h"
#include "app/board_playback.h"
#include "app/board_rules.h"
#include "app/board_units.h"
#include "forms/unit_commands.h"
#include "forms/unit_properties.h"
#include "runtime/services/dialogs_win.h"
#include "runtime/services/hotkeys_win.h"

namespace board {
namespace {

constexpr char kSection[] = "hotkey";
constexpr char kNoHotkeyTip[] = "右键设置快捷键";
constexpr char kHotkeyTipPrefix[] = "快捷键:";
constexpr unsigned kErrorBoxFlags = 16;  // error icon
constexpr DWORD kControlStyles = WS_VISIBLE | WS_BORDER;

HWND MainHandle() { return forms::GetWindowHandle(units::kMainWindow); }

void SetTip(const runtime::UnitRef& button, const std::string& text) {
  services::SetTooltip(forms::GetWindowHandle(button), text);
}

std::string TagOf(const runtime::UnitRef& button) {
  return forms::ReadTextProperty(button, forms::property::kTag);
}

// Registers the stored value "<key>,<state>" on the button; without a key, or when the system
// refuses it, only the tip says how to set one.
void RestoreOne(const runtime::UnitRef& button, const std::string& key) {
  const std::vector<std::string> parts = SplitParts(ReadSetting(kSection, key), 2);
  const int virtualKey = LeadingNumber(parts[0]);
  if (virtualKey == 0) {
    SetTip(button, kNoHotkeyTip);
    return;
  }
  const int state = LeadingNumber(parts[1]);
  const int id = services::RegisterGlobalHotkey(MainHandle(), forms::GetWindowHandle(units::kHotkeyLabel), state,
                                                virtualKey);
  // Refused (another program holds the combination): silent, and the button says how to set one.
  if (id == 0) {
    SetTip(button, kNoHotkeyTip);
    return;
  }
  forms::WriteTextProperty(button, forms::property::kTag, std::to_string(id) + "," + parts[0] + "," + parts[1]);
  SetTip(button, kHotkeyTipPrefix + HotkeyText(virtualKey, state));
}

std::string KeySuffix(const runtime::UnitRef& button) {
  if (units::SameUnit(button, units::kStopButton)) return "_stop";
  return std::to_string(LeadingNumber(SoundButtonNumber(UnitName(button))));
}

forms::HandlerReturn OpenDialogFor(const runtime::UnitRef& button) {
  BoardState& state = State();
  state.hotkeyEditTarget = button;
  forms::LoadWindow(units::kHotkeyDialog, units::kMainWindow, true);
  return forms::Result(state.hotkeyDialogApplied);
}

}  // namespace

void RestoreHotkeys() {
  for (const runtime::UnitRef& button : MainWindowButtons(kSoundButtonPrefix)) {
    RestoreOne(button, "btn" + SoundButtonNumber(UnitName(button)));
    if (forms::IsUnitValid(button) && !units::SameUnit(button, units::kFirstSoundButton)) {
      forms::RedirectEvents(button, units::kFirstSoundButton);
    }
  }
  RestoreOne(units::kStopButton, "btn_stop");
}

forms::HandlerReturn SoundEditHotkey(std::span<const std::int32_t>) { return OpenDialogFor(EventButton()); }

forms::HandlerReturn StopEditHotkey(std::span<const std::int32_t>) { return OpenDialogFor(units::kStopButton); }

forms::HandlerReturn HotkeyDialogCreated(std::span<const std::int32_t>) {
  BoardState& state = State();
  const runtime::UnitRef& target = state.hotkeyEditTarget;
  forms::WriteTextProperty(units::kHotkeyDialog, forms::property::kWindowCaption,
                           "修改快捷键:" + forms::ReadTextProperty(target, forms::property::kButtonCaption));
  const std::vector<std::string> parts = SplitParts(TagOf(target), 3);
  const int virtualKey = LeadingNumber(parts[1]) & 0xFF;
  const int flags = ControlFlagsFromState(LeadingNumber(parts[2]));
  state.hotkeyValue = static_cast<std::uint16_t>(virtualKey | (flags << 8));
  skin::WindowWrapper& wrapper = Wrapper();
  wrapper.CreateHotkeyControl(forms::GetWindowHandle(units::kHotkeyDialog), kControlStyles, 96, 16, 184, 22,
                              WS_EX_CLIENTEDGE);
  wrapper.SetHotkey(state.hotkeyValue);
  return forms::NoResult();
}

// A new combination is registered before the old one is released, so typing a button's own
// combination again is refused and the old one stays.
forms::HandlerReturn HotkeyDialogOk(std::span<const std::int32_t>) {
  BoardState& state = State();
  const runtime::UnitRef& target = state.hotkeyEditTarget;
  state.hotkeyValue = Wrapper().GetHotkey();
  const int virtualKey = state.hotkeyValue & 0xFF;
  const std::string key = "btn" + KeySuffix(target);
  if (virtualKey == 0) {
    WriteSetting(kSection, key, std::nullopt);
    services::UnregisterGlobalHotkey(MainHandle(), LeadingNumber(TagOf(target)));
    forms::WriteTextProperty(target, forms::property::kTag, "");
  } else {
    const int modifiers = StateFromControlFlags(state.hotkeyValue >> 8);
    const int id = services::RegisterGlobalHotkey(MainHandle(), forms::GetWindowHandle(units::kHotkeyLabel),
                                                  modifiers, virtualKey);
    if (id == 0) {
      services::ShowMessageBox("注册快捷键失败！", kErrorBoxFlags, "错误");
      return forms::NoResult();
    }
    const int old = LeadingNumber(TagOf(target));
    if (old != 0) services::UnregisterGlobalHotkey(MainHandle(), old);
    const std::string value = std::to_string(virtualKey) + "," + std::to_string(modifiers);
    WriteSetting(kSection, key, value);
    forms::WriteTextProperty(target, forms::property::kTag, std::to_string(id) + "," + value);
    SetTip(target, kHotkeyTipPrefix + HotkeyText(virtualKey, modifiers));
  }
  state.hotkeyDialogApplied = 1;
  forms::DestroyUnit(units::kHotkeyDialog);
  return forms::NoResult();
}

forms::HandlerReturn HotkeyDialogCancel(std::span<const std::int32_t>) {
  State().hotkeyDialogApplied = 0;
  forms::DestroyUnit(units::kHotkeyDialog);
  return forms::NoResult();
}

forms::HandlerReturn HotkeyPressed(std::span<const std::int32_t> arguments) {
  const int id = arguments.empty() ? 0 : arguments[0];
  if (LeadingNumber(TagOf(units::kStopButton)) == id) {
    Player().Stop(State().currentStream);
    return forms::NoResult();
  }
  for (const runtime::UnitRef& button : MainWindowButtons(kSoundButtonPrefix)) {
    if (LeadingNumber(TagOf(button)) == id) {
      PlayButtonSound(button);
      break;
    }
  }
  return forms::NoResult();
}

}  // namespace board
