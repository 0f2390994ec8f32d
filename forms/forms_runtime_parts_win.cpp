#include "forms/forms_runtime_parts_win.h"

#include "forms/forms_runtime_win.h"
#include "forms/input_mapping.h"
#include "runtime/values/error_report.h"

namespace forms::runtime_parts {

const WindowData& WindowSettings(const std::vector<KindData>& data) {
  static const WindowData defaults;
  if (data.empty()) return defaults;
  const auto* window = std::get_if<WindowData>(&data[0]);
  return window ? *window : defaults;
}

WindowData WindowSettings(const WindowRecord& record) {
  if (record.units.Count() == 0) return {};
  KindDataResult result = ReadKindData(record.units.Record(0).kind, record.units.KindData(0));
  auto* window = std::get_if<WindowData>(&result.data);
  return result.status == KindDataStatus::Ok && window ? std::move(*window) : WindowData{};
}

std::int32_t HeldModifiers(std::int32_t key) {
  return ModifierState(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                       GetKeyState(VK_MENU) < 0, key);
}

[[noreturn]] void FailAccess() { runtime::ReportError(runtime::error_codes::Text, kWindowNotLoadedForAccess); }

// A hidden item takes its submenu with it.
HMENU MakeMenu(const std::vector<MenuEntry>& entries) {
  HMENU bar = CreateMenu();
  std::vector<HMENU> menus{bar};
  bool any = false;
  std::uint32_t skipBelow = UINT32_MAX;
  for (const MenuEntry& entry : entries) {
    if (entry.level > skipBelow) continue;
    skipBelow = UINT32_MAX;
    if (entry.flags & kMenuHidden) {
      skipBelow = entry.level;
      continue;
    }
    menus.resize(entry.level + 1);
    HMENU parent = menus[entry.level];
    UINT state = ((entry.flags & kMenuDisabled) ? MF_GRAYED : 0) | ((entry.flags & kMenuChecked) ? MF_CHECKED : 0);
    if (entry.opensSubmenu) {
      HMENU submenu = CreatePopupMenu();
      AppendMenuA(parent, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), entry.text.c_str());
      menus.push_back(submenu);
    } else if (entry.separator) {
      AppendMenuA(parent, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(parent, MF_STRING | state, entry.command, entry.text.c_str());
    }
    any = any || entry.level == 0;
  }
  if (!any) {
    DestroyMenu(bar);
    return nullptr;
  }
  return bar;
}

controls::UnitCreateContext ControlContext(const UnitRecord& record, const KindData& data, HWND window,
                                           int controlId) {
  controls::UnitCreateContext context{record, data, window, false, controlId, 0};
  if (record.flags & unit_flags::kDisabled) context.commonStyle |= WS_DISABLED;
  if (record.flags & unit_flags::kTabStop) context.commonStyle |= WS_TABSTOP;
  return context;
}

}  // namespace forms::runtime_parts
