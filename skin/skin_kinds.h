#pragma once
// Every kind of child control the engine skins, in the order AttachFrame and AttachPanel attach
// them: push buttons, check boxes and radio buttons, combo boxes, sliders.
namespace skin {

class SkinEngine;

void InstallSkinKinds(SkinEngine& engine);

}  // namespace skin
