#include "app/board_skin.h"

#include "app/board_objects.h"
#include "app/board_units.h"
#include "assets/carried_pictures.h"
#include "forms/unit_commands.h"
#include "forms/unit_properties.h"
#include "skin/skin_kinds.h"

namespace board {
namespace {

constexpr const char* kCategories[] = {"主持人专用", "MC喊麦专用", "搞笑类音效", "人物类音效", "生活类音效", "自定义音效"};

HWND Handle(const runtime::UnitRef& unit) { return forms::GetWindowHandle(unit); }

}  // namespace

void AttachBoardSkin(HWND mainWindow) {
  skin::SkinEngine& engine = Skin();
  skin::InstallSkinKinds(engine);
  // The carried sky stretched over the window (mode 3); a double click on the caption does not
  // maximize.
  engine.AttachFrame(mainWindow, {}, {}, false, {}, {}, {}, {}, 0, nullptr,
                     assets::Carried(assets::Picture::kBackground), 3);

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // The page control paints itself whole, so its own tabs never show: the strip above stands in.
  engine.AttachPanel(Handle(units::kPages), {}, face, 100);

  skin::TabStrip& strip = Strip();
  strip.AttachTabStrip(Handle(units::kCategoryLabel), 70, 2, 2, true, face, 0);
  for (const char* category : kCategories) strip.AddTab(category);
  strip.SetTabHandler([](int item) {
    forms::WriteIntProperty(units::kPages, forms::property::kPageControlCurrentPage, item - 1);
  });

  engine.AttachTransparentLabel(Handle(units::kChannelLabel));
  engine.AttachTransparentLabel(Handle(units::kVolumeLabel));
  engine.AttachPanel(Handle(units::kLinksGroup), {}, face, 30);
}

}  // namespace board
