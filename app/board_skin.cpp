#include "app/board_skin.h"

#include "app/board_objects.h"
#include "assets/carried_pictures.h"

namespace board {

// The skinned frame over the carried sky picture, stretched (mode 3); a double click on the
// caption does not maximize.
void AttachBoardSkin(HWND mainWindow) {
  Skin().AttachFrame(mainWindow, {}, {}, false, {}, {}, {}, {}, 0, nullptr,
                     assets::Carried(assets::Picture::kBackground), 3);
}

}  // namespace board
