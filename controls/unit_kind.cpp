#include "controls/unit_kind.h"

#include <windows.h>
#include <commctrl.h>

#include "controls/win_support.h"
#include "forms/kinds.h"

namespace controls {

std::unique_ptr<UnitControl> CreateUnitControl(const UnitCreateContext& context) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)commonControls;
  using namespace forms::kind_ids;
  switch (context.record.kind) {
    case kWindow: return CreateWindowUnit(context);
    case kButton: return CreateButton(context);
    case kGroupBox: return CreateGroupBox(context);
    case kComboBox: return CreateComboBox(context);
    case kSliderBar: return CreateSlider(context);
    case kLabel: return CreateLabel(context);
    case kPicBox: return CreatePictureBox(context);
    case kDrawPanel: return CreateDrawingPanel(context);
    case kPageControl: return CreatePageControl(context);
    case kCommonDlg: return CreateCommonDialog(context);
    default: return nullptr;
  }
}

}  // namespace controls
