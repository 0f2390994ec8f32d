// The generator over small layouts: what it writes reads back through the forms reader, and
// layout mistakes are reported with their line instead of producing a resource.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/kind_data.h"
#include "forms/window_resource.h"
#include "tools/resgen/encode.h"
#include "tools/resgen/layout.h"

namespace resgen {
namespace {

// Layout text is UTF-8 whatever the compiler makes of plain literals, hence u8.
const char8_t kHeader[] = u8R"(handler closing
handler clicked
defaults Button version=1 type=0 halign=1 valign=1 picture=- font=- parent=window
    flags=visible,tabstop cursor=0
defaults Window version=6 border=2 placement=0 backcolor=0 maxbutton=0 minbutton=0 controlbox=1
    startposition=0 movable=1 p14=0 entermovesfocus=0 esccloses=0 f1help=0 helpcontext=0
    taskbar=1 p27=0 shape=0 alwaysontop=0 p30=0 class="" backpicture=- icon=- backmusic=-
    helpfile="" flags=visible cursor=0
window W id=0x52010001 slot=0 valueA=1 valueB=2 name="" comment=""
unit Window 0x06010000 "" rect=0,0,100,100 caption="窗口" on.CloseRequested=closing
)";

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

bool Encode(const std::string& text, EncodeResult& result, std::string& error) {
  Layout layout;
  return ParseLayout(text, layout, error) && EncodeLayout(layout, "/nonexistent", result, error);
}

TEST(Resgen, WritesWhatTheReaderReadsBack) {
  const std::string text = Utf8(kHeader) + Utf8(u8R"(
unit PageControl 0x16010002 "夹" parent=window rect=1,2,3,4 flags=visible cursor=0
    version=1 settings1=0,0,0,0 font="",-12,400,134 pageformat=1
    page.1="一","" page.2="二",""
    pagesettings=0,0,0,0,0,0,0,0,0,0,0,0,0,0,0 pageoptions=0,0,0,0,0
    settings2=0,0,0,0 images=-,-,-,- setting3=0 colours=0,0,0,0,0,0,0,0,0,0,0,0
    settings4=0,0 ignored=0,0,0 later=0,0,0,0
unit Button 0x16010003 "b2" parent="夹" page=2 rect=5,6,7,8 caption="第二页"
unit Button 0x16010004 "b1" parent="夹" page=1 rect=5,6,7,8 caption="第一页" tag="t"
    on.Clicked=clicked on.RightButtonUp=-
)");
  EncodeResult result;
  std::string error;
  ASSERT_TRUE(Encode(text, result, error)) << error;

  const int table[2] = {};
  const int empty = 0;
  auto resource = forms::WindowResource::Load(result.bytes, {table, sizeof(int), 2, &empty});
  const forms::UnitList& units = resource.Windows()[0].units;
  ASSERT_EQ(units.Count(), 4u);
  EXPECT_EQ(result.windows[0].listLength, units.ByteLength());
  // Children come from the units naming the container, page by page, each page closed by 0.
  EXPECT_EQ(units.Record(1).children, (std::vector<forms::UnitId>{0x16010004, 0, 0x16010003, 0}));
  EXPECT_EQ(units.Record(2).parent, 0x16010002u);
  EXPECT_EQ(units.Record(3).tag, "t");
  ASSERT_EQ(units.Record(3).events.size(), 2u);
  EXPECT_EQ(units.Handlers(3)[0], &table[1]);
  EXPECT_EQ(units.Record(3).events[1].handlerOffset, -1);
  EXPECT_EQ(units.Handlers(0)[0], &table[0]);
  // Texts arrive as GBK, the same bytes the compiler makes of the literal.
  auto caption = std::get<forms::ButtonData>(forms::ReadKindData(units.Record(3).kind, units.KindData(3)).data).caption;
  EXPECT_EQ(caption, "第一页");
  auto pages = std::get<forms::PageControlData>(forms::ReadKindData(units.Record(1).kind, units.KindData(1)).data);
  ASSERT_EQ(pages.pages.size(), 2u);
  EXPECT_EQ(pages.pages[1].caption, "二");
}

TEST(Resgen, LayoutMistakesAreReportedWithTheirLine) {
  struct Case {
    const char8_t* units;
    const char* message;
  };
  const Case cases[] = {
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\" colour=3\n", "line 11: unknown key 'colour'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\" on.Clicked=nothing\n", "unknown handler 'nothing'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\" on.Created=clicked\n", "no event 'Created'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3 caption=\"x\"\n", "'rect' takes 4 values"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4x caption=\"x\"\n", "bad number '4x'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4\n", "missing 'caption'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"😀\"\n", "no GBK form"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\"\n" u8"unit Button 0x16010002 \"c\" rect=1,2,3,4 caption=\"x\"\n",
       "unit id used twice"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\" parent=\"nobody\"\n", "parent is 'window'"},
      {u8"unit Window 0x06010001 \"\" rect=0,0,1,1 caption=\"x\"\n", "own unit comes first"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\" flags=shown\n", "unknown flag 'shown'"},
      {u8"unit Button 0x16010002 \"b\" rect=1,2,3,4 caption=\"x\n", "unterminated text"},
  };
  for (const Case& c : cases) {
    EncodeResult result;
    std::string error;
    EXPECT_FALSE(Encode(Utf8(kHeader) + Utf8(c.units), result, error)) << Utf8(c.units);
    EXPECT_NE(error.find(c.message), std::string::npos) << "got: " << error;
  }
}

// The board's own layout with a stand-in for the 2750-byte contact badge, as the build will
// have it once assets/ provides the picture.
TEST(Resgen, BoardLayoutWithTheBadgeGivesTheFullFigures) {
  const auto assets = std::filesystem::temp_directory_path() / "resgen-test-assets";
  std::filesystem::create_directories(assets);
  std::ofstream(assets / "contact-badge.bmp", std::ios::binary) << std::string(2750, 'B');
  std::ifstream input(SB_BOARD_LAYOUT, std::ios::binary);
  ASSERT_TRUE(input);
  std::string text((std::istreambuf_iterator<char>(input)), {});

  Layout layout;
  EncodeResult result;
  std::string error;
  ASSERT_TRUE(ParseLayout(text, layout, error)) << error;
  ASSERT_TRUE(EncodeLayout(layout, assets, result, error)) << error;
  std::filesystem::remove_all(assets);
  EXPECT_TRUE(result.warnings.empty());
  ASSERT_EQ(result.windows.size(), 2u);
  EXPECT_EQ(result.windows[0].units, 263u);
  EXPECT_EQ(result.windows[1].units, 4u);
  EXPECT_EQ(result.windows[0].listLength, 50784u);
  EXPECT_EQ(result.windows[1].listLength, 772u);
  EXPECT_EQ(result.bytes.size(), 51624u);

  const int table[18] = {};
  const int empty = 0;
  auto resource = forms::WindowResource::Load(result.bytes, {table, sizeof(int), 18, &empty});
  const forms::UnitList& units = resource.Windows()[0].units;
  for (std::size_t i : {std::size_t{29}, std::size_t{30}}) {
    auto data = std::get<forms::PicBoxData>(forms::ReadKindData(units.Record(i).kind, units.KindData(i)).data);
    EXPECT_EQ(data.picture, std::vector<std::uint8_t>(2750, 'B'));
  }
  EXPECT_EQ(units.RecordBody(262).size(), 118u);
}

}  // namespace
}  // namespace resgen
