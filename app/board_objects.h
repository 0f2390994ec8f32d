#pragma once
// The board's process-wide objects: made once before the first window exists, destroyed by the
// clean-up routine at the end of the process.
#include "skin/skin_engine.h"
#include "skin/tab_strip.h"

namespace board {

// The module initialisers: the skin's defaults and GDI+ come up here.
void InitialiseModules();
// The clean-up routine: destroys what the initialisers made (the skin shuts GDI+ down).
void DestroyObjects();

// The skin engine and the category strip; only between InitialiseModules and DestroyObjects.
skin::SkinEngine& Skin();
skin::TabStrip& Strip();

}  // namespace board
