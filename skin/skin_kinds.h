#pragma once
// Every kind of child control the engine skins, in the order AttachFrame and AttachPanel attach
// them: push buttons, check boxes and radio buttons, edits (with the text-field switch on), combo
// boxes, sliders, progress bars. List kinds, up-down controls and headers keep their own look.
namespace skin {

class SkinEngine;

void InstallSkinKinds(SkinEngine& engine);

}  // namespace skin
