#include "skin/skin_kinds.h"

#include "skin/skinned_button.h"
#include "skin/skinned_combo_box.h"
#include "skin/skinned_edit.h"
#include "skin/skinned_progress_bar.h"
#include "skin/skinned_slider.h"

namespace skin {

void InstallSkinKinds(SkinEngine& engine) {
  InstallButtons(engine);
  std::vector<ChildKind> kinds = ButtonKinds();
  for (auto more : {EditKinds(), ComboBoxKinds(), SliderKinds(), ProgressBarKinds()}) kinds.insert(kinds.end(), more.begin(), more.end());
  engine.SetChildKinds(std::move(kinds));
}

}  // namespace skin
