#include "app/board_startup.h"

#include <shlobj.h>

#include <string>

#include "app/board_channel.h"
#include "app/board_config.h"
#include "app/board_hotkeys.h"
#include "app/board_objects.h"
#include "app/board_rules.h"
#include "app/board_skin.h"
#include "app/board_slots.h"
#include "app/board_units.h"
#include "forms/unit_commands.h"
#include "runtime/services/program_files_win.h"
#include "runtime/services/shell_win.h"
#include "runtime/time_marks_win.h"

namespace board {
namespace {

constexpr int kDesktopFolder = 3;

// Once per installation: [init] writeFile remembers that the link was made, even when making
// it failed. Deleting the key brings the link back at the next start.
void CreateDesktopShortcutOnce() {
  if (!ReadSetting("init", "writeFile").empty()) return;
  const std::string fileName = services::GetProgramFileName();
  const std::string desktop = services::GetSpecialFolder(kDesktopFolder);
  services::CreateShortcut(ShortcutPath(desktop, fileName), State().runPrefix + fileName);
  WriteSetting("init", "writeFile", "1");
  services::Delay(10);
  SHChangeNotify(SHCNE_ASSOCCHANGED, 0, nullptr, nullptr);
}

}  // namespace

forms::HandlerReturn MainCreated(std::span<const std::int32_t>) {
  {
    const runtime::marks::Span span("skin");
    AttachBoardSkin(forms::GetWindowHandle(units::kMainWindow));
  }
  State().runPrefix = services::GetRunDirectory() + "\\";
  // bass.dll is looked for beside the program in "plugins" first.
  services::SetDllSearchDirectory(State().runPrefix + "plugins");
  {
    const runtime::marks::Span span("channels");
    BuildChannelList(ReadNumberSetting("music", "passage", "1"));
  }
  const runtime::marks::Span span("restore");
  RestoreVolume(ReadNumberSetting("music", "volume", "100"));
  RestoreHotkeys();
  RestoreSlots();
  CreateDesktopShortcutOnce();
  return forms::NoResult();
}

forms::HandlerReturn MainCloseRequested(std::span<const std::int32_t>) {
  Player().FreeStream(State().currentStream);
  Player().Free();
  return forms::NoResult();
}

}  // namespace board
