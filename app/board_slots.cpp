#include "app/board_slots.h"

#include <string>

#include "app/board_config.h"
#include "app/board_event_units.h"
#include "app/board_playback.h"
#include "app/board_rules.h"
#include "app/board_units.h"
#include "forms/common_dialog_command.h"
#include "forms/unit_commands.h"
#include "forms/unit_properties.h"
#include "runtime/services/dialogs_win.h"
#include "runtime/services/program_files_win.h"

namespace board {
namespace {

constexpr char kSection[] = "music";
constexpr char kDefaultName[] = "自定义";

}  // namespace

void RestoreSlots() {
  for (const runtime::UnitRef& button : MainWindowButtons(kSlotButtonPrefix)) {
    if (!forms::IsUnitValid(button)) continue;
    const std::string number = SlotNumber(UnitName(button));
    forms::WriteTextProperty(button, forms::property::kTag, ReadSetting(kSection, "file" + number));
    forms::WriteTextProperty(button, forms::property::kButtonCaption, ReadSetting(kSection, "name" + number, kDefaultName));
    if (!units::SameUnit(button, units::kFirstSlotButton)) forms::RedirectEvents(button, units::kFirstSlotButton);
  }
}

// Nothing changes before the user has confirmed both the file and the name.
forms::HandlerReturn SlotAssign(std::span<const std::int32_t>) {
  const runtime::UnitRef button = EventButton();
  if (!forms::IsUnitValid(button)) return forms::NoResult();
  const int number = LeadingNumber(SlotNumber(UnitName(button)));
  if (number == 0) return forms::NoResult();
  if (!forms::OpenCommonDialog(units::kFileDialog)) return forms::NoResult();
  const std::string path = forms::ReadTextProperty(units::kFileDialog, forms::property::kDialogFileName);
  const auto name = services::ShowInputBox("请输入自定义音效名称", "输入", SuggestedSlotName(path));
  if (!name) return forms::NoResult();
  WriteSetting(kSection, "name" + std::to_string(number), *name);
  WriteSetting(kSection, "file" + std::to_string(number), path);
  forms::WriteTextProperty(button, forms::property::kTag, path);
  forms::WriteTextProperty(button, forms::property::kButtonCaption, *name);
  return forms::NoResult();
}

// An empty slot, or one whose file has gone, leaves the playing effect alone.
forms::HandlerReturn SlotPlay(std::span<const std::int32_t>) {
  const runtime::UnitRef button = EventButton();
  if (!forms::IsUnitValid(button)) return forms::NoResult();
  const std::string path = forms::ReadTextProperty(button, forms::property::kTag);
  if (path.empty() || !services::FileExists(path)) return forms::NoResult();
  PlayFile(path);
  return forms::NoResult();
}

}  // namespace board
