#include "app/board_skin.h"

#include <cstdint>

#include "app/board_objects.h"
#include "assets/carried_pictures.h"
#include "forms/kinds.h"
#include "forms/unit_commands.h"
#include "forms/unit_properties.h"
#include "runtime/values/unit_ref.h"
#include "skin/skin_kinds.h"

namespace board {
namespace {

constexpr std::int32_t kMainWindowId = 0x52010001;

constexpr runtime::UnitRef Unit(std::int32_t id, std::uint32_t kind = 0) {
  return runtime::UnitRef{kMainWindowId, id, static_cast<runtime::TypeTag>(kind)};
}

constexpr runtime::UnitRef kPages = Unit(0x1601662E, forms::kind_ids::kPageControl);  // "高级选择夹1"
constexpr runtime::UnitRef kCategoryLabel = Unit(0x16016749);                          // "标签1"
constexpr runtime::UnitRef kChannelLabel = Unit(0x1601661A);                           // "标签4"
constexpr runtime::UnitRef kVolumeLabel = Unit(0x1601661B);                            // "标签12"
constexpr runtime::UnitRef kLinksGroup = Unit(0x16016BCB);                             // "分组框1"

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
  engine.AttachPanel(Handle(kPages), {}, face, 100);

  skin::TabStrip& strip = Strip();
  strip.AttachTabStrip(Handle(kCategoryLabel), 70, 2, 2, true, face, 0);
  for (const char* category : kCategories) strip.AddTab(category);
  strip.SetTabHandler([](int item) {
    forms::WriteIntProperty(kPages, forms::property::kPageControlCurrentPage, item - 1);
  });

  engine.AttachTransparentLabel(Handle(kChannelLabel));
  engine.AttachTransparentLabel(Handle(kVolumeLabel));
  engine.AttachPanel(Handle(kLinksGroup), {}, face, 30);
}

}  // namespace board
