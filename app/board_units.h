#pragma once
// The windows and units the board's code names, by the ids of the window resource.
#include "forms/kinds.h"
#include "runtime/values/unit_ref.h"

namespace board::units {

constexpr runtime::UnitRef Unit(std::uint32_t window, std::uint32_t unit, forms::KindId kind) {
  return {static_cast<std::int32_t>(window), static_cast<std::int32_t>(unit), kind};
}

// The same unit, whatever kind tag the references carry.
constexpr bool SameUnit(const runtime::UnitRef& a, const runtime::UnitRef& b) {
  return a.window_id == b.window_id && a.unit_id == b.unit_id;
}

inline constexpr std::uint32_t kMainWindowId = 0x52010001;
inline constexpr std::uint32_t kHotkeyDialogId = 0x52010D88;

namespace kinds = forms::kind_ids;
inline constexpr runtime::UnitRef kMainWindow = Unit(kMainWindowId, 0x06010000, kinds::kWindow);
inline constexpr runtime::UnitRef kPages = Unit(kMainWindowId, 0x1601662E, kinds::kPageControl);      // "高级选择夹1"
inline constexpr runtime::UnitRef kFirstSoundButton = Unit(kMainWindowId, 0x1601662F, kinds::kButton);  // "按钮_音效1"
inline constexpr runtime::UnitRef kFirstSlotButton = Unit(kMainWindowId, 0x1601671C, kinds::kButton);  // "按钮_自定义音效_1"
inline constexpr runtime::UnitRef kStopButton = Unit(kMainWindowId, 0x1601661C, kinds::kButton);      // "按钮_停止播放"
inline constexpr runtime::UnitRef kVolumeSlider = Unit(kMainWindowId, 0x16016619, kinds::kSliderBar);  // "滑块条1"
inline constexpr runtime::UnitRef kChannelBox = Unit(kMainWindowId, 0x16016618, kinds::kComboBox);    // "组合框1"
inline constexpr runtime::UnitRef kHotkeyLabel = Unit(kMainWindowId, 0x16016617, kinds::kLabel);      // "标签_热键"
inline constexpr runtime::UnitRef kCategoryLabel = Unit(kMainWindowId, 0x16016749, kinds::kLabel);  // "标签1"
inline constexpr runtime::UnitRef kChannelLabel = Unit(kMainWindowId, 0x1601661A, kinds::kLabel);   // "标签4"
inline constexpr runtime::UnitRef kVolumeLabel = Unit(kMainWindowId, 0x1601661B, kinds::kLabel);    // "标签12"
inline constexpr runtime::UnitRef kLinksGroup = Unit(kMainWindowId, 0x16016BCB, kinds::kGroupBox);  // "分组框1"
inline constexpr runtime::UnitRef kFileDialog = Unit(kMainWindowId, 0x1601661D, kinds::kCommonDlg);   // "通用对话框1"

inline constexpr runtime::UnitRef kHotkeyDialog = Unit(kHotkeyDialogId, 0x06010D89, kinds::kWindow);

}  // namespace board::units
