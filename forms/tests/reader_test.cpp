// The reader over hand-made resources: look-ups, relocation, menu items, malformed input and
// property-data versions.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/kind_data.h"
#include "forms/kinds.h"
#include "forms/resource_error.h"
#include "forms/tests/resource_builder.h"
#include "forms/window_resource.h"
#include "runtime/values/error_report.h"

namespace forms {
namespace {

using testing::Bytes;
using testing::TestUnit;
using testing::TestWindow;

struct LoadFailure {
  std::string message;
  int exitCode;
};

// The runtime's fatal report, ending in an exception instead of the end of the process.
class ThrowingTerminal : public runtime::ErrorTerminal {
 public:
  void ShowErrorBox(const char* message, const char*) override { message_ = message; }
  [[noreturn]] void EndProcess(int exitCode) override { throw LoadFailure{message_, exitCode}; }

 private:
  std::string message_;
};

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { runtime::InstallErrorTerminal(terminal_); }
  void TearDown() override { runtime::RemoveErrorTerminal(); }

  static WindowResource Load(const Bytes& bytes) { return WindowResource::Load(bytes.data, Base()); }
  static CodeBase Base() { return {kTable, sizeof(long), 4, &kEmpty}; }

  static const long kTable[4];
  static const long kEmpty;

 private:
  ThrowingTerminal terminal_;
};

const long Reader::kTable[4] = {};
const long Reader::kEmpty = 0;

// True when running the statement ends in the resource-load failure with its message.
bool FailsToLoad(const std::function<void()>& statement) {
  try {
    statement();
  } catch (const LoadFailure& failure) {
    return failure.message.find(kResourceLoadError) != std::string::npos && failure.exitCode == -1;
  }
  return false;
}

TestUnit WindowUnit(UnitId id = 0x06010000) {
  TestUnit unit;
  unit.id = id;
  unit.kind = kind_ids::kWindow;
  unit.name = "";
  return unit;
}

TestUnit Button(UnitId id, const std::string& name) {
  TestUnit unit;
  unit.id = id;
  unit.name = name;
  unit.kindData = testing::ButtonData(name);
  return unit;
}

TEST_F(Reader, LooksUpWindowsAndUnits) {
  TestUnit ok = Button(0x16010002, "确定");
  ok.children = {0x16010003};
  ok.tag = "1,65,2";
  // A second unit with the same id: look-up takes the first.
  TestUnit duplicate = Button(0x16010002, "dup");
  Bytes bytes = testing::ResourceBytes({testing::WindowOf(0x52010001, {WindowUnit(), ok, duplicate}),
                                        testing::WindowOf(0x52010D88, {WindowUnit(0x06010D89)})});
  WindowResource resource = Load(bytes);

  ASSERT_EQ(resource.Windows().size(), 2u);
  EXPECT_EQ(resource.Table().ids, (std::vector<WindowId>{0x52010001, 0x52010D88}));
  EXPECT_EQ(resource.WindowById(0x52010D88), &resource.Windows()[1]);
  EXPECT_EQ(resource.WindowById(0x52010002), nullptr);

  const UnitRecord* found = resource.FindUnit(0x52010001, 0x16010002);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->name, "确定");
  EXPECT_EQ(found->children, (std::vector<UnitId>{0x16010003}));
  EXPECT_EQ(found->tag, "1,65,2");
  EXPECT_EQ(found->flags, 5u);
  EXPECT_EQ(found->geometry.height, 4);
  EXPECT_EQ(resource.UnitAt(0x52010001, 2)->name, "dup");
  EXPECT_EQ(resource.UnitAt(0x52010001, 3), nullptr);
  EXPECT_EQ(resource.FindUnit(0x52010D88, 0x16010002), nullptr);
  EXPECT_EQ(resource.FindUnit(0x52010003, 0x06010000), nullptr);
}

TEST_F(Reader, EmptyInputIsAProgramWithoutWindows) {
  EXPECT_TRUE(Load(Bytes{}).Windows().empty());
}

TEST_F(Reader, RelocatesHandlerOffsetsAgainstTheTable) {
  TestUnit window = WindowUnit();
  window.events = {{0, 2}, {1, 0}, {3, -1}};
  WindowResource resource = Load(testing::ResourceBytes({testing::WindowOf(0x52010001, {window})}));
  auto handlers = resource.Windows()[0].units.Handlers(0);
  ASSERT_EQ(handlers.size(), 3u);
  EXPECT_EQ(handlers[0], &kTable[2]);
  EXPECT_EQ(handlers[1], &kTable[0]);  // offset 0 is the table's first entry, a real handler
  EXPECT_EQ(handlers[2], &kEmpty);     // -1: no handler
}

TEST_F(Reader, HandlerOffsetsOutsideTheTableFailTheLoad) {
  for (std::int32_t offset : {4, -2, 0x7FFFFFFF}) {
    TestUnit window = WindowUnit();
    window.events = {{0, offset}};
    Bytes bytes = testing::ResourceBytes({testing::WindowOf(0x52010001, {window})});
    EXPECT_TRUE(FailsToLoad([&] { Load(bytes); })) << offset;
  }
}

TEST_F(Reader, MenuItemsAreKnownByTheirIdClass) {
  // The kind word says button; the id class says menu item, and the id class decides.
  Bytes menu = testing::MenuItemBody(kind_ids::kButton, "菜单1", 0b101, "打开", 3);
  TestUnit after = Button(0x16010005, "after");
  after.events = {{0, 1}};
  std::vector<Bytes> bodies = {testing::RecordBody(WindowUnit()), menu, testing::RecordBody(after)};
  Bytes list = testing::UnitListBytes({0x06010000, 0x26010004, 0x16010005}, bodies);
  WindowResource resource = Load(testing::ResourceBytes({{0x52010001, 3, list}}));

  const UnitList& units = resource.Windows()[0].units;
  EXPECT_TRUE(units.IsMenuItem(1));
  const UnitRecord& item = units.Record(1);
  EXPECT_TRUE(item.menuItem);
  EXPECT_EQ(item.name, "菜单1");
  EXPECT_EQ(item.menuValues, (std::array<std::uint32_t, 3>{7, 8, 0b101}));
  EXPECT_EQ(item.menuCaption, "打开");
  ASSERT_EQ(units.Handlers(1).size(), 1u);
  EXPECT_EQ(units.Handlers(1)[0], &kTable[3]);
  // The unit after it is read from its own offset, with its own handler.
  EXPECT_EQ(units.Record(2).name, "after");
  EXPECT_EQ(units.Handlers(2)[0], &kTable[1]);
  // Menu items have no property data to read and do not stop the window from loading; the
  // settings stay indexed like the units.
  std::vector<KindData> data;
  EXPECT_TRUE(ReadWindowKindData(resource.Windows()[0], &data));
  ASSERT_EQ(data.size(), 3u);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(data[1]));
  EXPECT_EQ(std::get<ButtonData>(data[2]).caption, "after");
  // Nor do they take the editor's variable-length fields.
  UnitList copy(units.Bytes(), 3);
  EXPECT_FALSE(copy.ReplaceTag(1, "x"));
}

TEST_F(Reader, AControlIdWithTheMenuItemKindIsReadAsAControl) {
  TestUnit unit = Button(0x16010002, "b");
  unit.kind = kind_ids::kMenuItem;
  unit.events = {{0, 1}};
  WindowResource resource = Load(testing::ResourceBytes({testing::WindowOf(0x52010001, {WindowUnit(), unit})}));
  EXPECT_FALSE(resource.Windows()[0].units.Record(1).menuItem);
  EXPECT_EQ(resource.Windows()[0].units.Handlers(1)[0], &kTable[1]);
}

TEST_F(Reader, EveryTruncatedPrefixOfTheResourceFails) {
  TestUnit unit = Button(0x16010002, "按钮1");
  unit.tag = "tag";
  unit.children = {0x16010009};
  unit.events = {{0, 1}, {-5, -1}};
  Bytes bytes = testing::ResourceBytes({testing::WindowOf(0x52010001, {WindowUnit(), unit}),
                                        testing::WindowOf(0x52010D88, {WindowUnit(0x06010D89)})});
  ASSERT_NO_THROW(Load(bytes));
  for (std::size_t length = 1; length < bytes.size(); ++length) {
    Bytes prefix;
    prefix.data.assign(bytes.data.begin(), bytes.data.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_TRUE(FailsToLoad([&] { Load(prefix); })) << "prefix of " << length << " bytes";
  }
}

// A record cut short with every length word consistent: the record itself ends in the middle
// of a field. Up to the property data the load walk finds it; inside the property data, the
// first read of it does.
TEST_F(Reader, RecordCutAtEveryFieldBoundaryFails) {
  TestUnit unit = Button(0x16010002, "按钮1");
  unit.tag = "tag";
  unit.children = {0x16010009, 0x1601000A};
  unit.cursor = {1, 2, 3, 4, 5, 6};
  unit.events = {{0, 1}};
  std::size_t kindDataStart = 0;
  const Bytes full = testing::RecordBody(unit, &kindDataStart);

  for (std::size_t length = 0; length < full.size(); ++length) {
    Bytes cut;
    cut.data.assign(full.data.begin(), full.data.begin() + static_cast<std::ptrdiff_t>(length));
    Bytes list = testing::UnitListBytes({0x06010000, 0x16010002}, {testing::RecordBody(WindowUnit()), cut});
    Bytes bytes = testing::ResourceBytes({{0x52010001, 2, list}});
    if (length < kindDataStart) {
      EXPECT_TRUE(FailsToLoad([&] { Load(bytes); })) << "record of " << length << " bytes";
      continue;
    }
    WindowResource resource = Load(bytes);
    const UnitList& units = resource.Windows()[0].units;
    if (length == kindDataStart) {
      // No property data at all: the defaults.
      EXPECT_EQ(ReadKindData(units.Record(1).kind, units.KindData(1)).status, KindDataStatus::Ok);
    } else {
      EXPECT_TRUE(FailsToLoad([&] { ReadKindData(units.Record(1).kind, units.KindData(1)); }))
          << "record of " << length << " bytes";
    }
  }
}

struct Malformed {
  const char* what;
  std::function<Bytes()> make;
};

Bytes OneButtonWindow(const std::function<void(TestUnit&)>& change = nullptr) {
  TestUnit unit = Button(0x16010002, "b");
  if (change) change(unit);
  return testing::ResourceBytes({testing::WindowOf(0x52010001, {WindowUnit(), unit})});
}

void PatchU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.data[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A button record up to its child count: kind, reserved, name, comment, the seven words.
Bytes BodyUpToCounts() {
  Bytes body;
  body.U32(kind_ids::kButton).Zeros(20).ZText("b").ZText("").Zeros(28);
  return body;
}

Bytes WithBody(const Bytes& body) {
  Bytes list = testing::UnitListBytes({0x06010000, 0x16010002}, {testing::RecordBody(WindowUnit()), body});
  return testing::ResourceBytes({{0x52010001, 2, list}});
}

// Offsets into the resource of one window: table 12, record header 24, then the unit list.
constexpr std::size_t kListStart = 12 + 24;
constexpr std::size_t kCountAt = 12 + 16;

TEST_F(Reader, LengthsThatDoNotFitFailTheLoad) {
  const std::vector<Malformed> cases = {
      {"table length not a multiple of 8", [] { Bytes b = OneButtonWindow(); PatchU32(b, 0, 12); return b; }},
      {"table longer than the data", [] { Bytes b = OneButtonWindow(); PatchU32(b, 0, 0x7FFFFFF8); return b; }},
      {"window name longer than the data", [] { Bytes b = OneButtonWindow(); PatchU32(b, 12 + 8, 0xFFFFFFF0); return b; }},
      {"unit count beyond the list", [] { Bytes b = OneButtonWindow(); PatchU32(b, kCountAt, 0x20000000); return b; }},
      {"unit count one more than the list holds", [] { Bytes b = OneButtonWindow(); PatchU32(b, kCountAt, 3); return b; }},
      {"unit list longer than the data", [] { Bytes b = OneButtonWindow(); PatchU32(b, kCountAt + 4, 0xFFFFFF00); return b; }},
      {"offset beyond the records", [] { Bytes b = OneButtonWindow(); PatchU32(b, kListStart + 12, 0x10000); return b; }},
      {"two offsets naming one record", [] { Bytes b = OneButtonWindow(); PatchU32(b, kListStart + 12, 0); return b; }},
      {"record size beyond the list", [] {
         Bytes b = OneButtonWindow();
         PatchU32(b, kListStart + 16, 0xFFFFFFF0);
         return b;
       }},
      {"bytes after the last window", [] { Bytes b = OneButtonWindow(); b.U32(0); return b; }},
      {"child count beyond the record", [] { return WithBody(BodyUpToCounts().U32(0x40000000).U32(1)); }},
      {"event count beyond the record", [] {
         Bytes body = BodyUpToCounts().U32(0);
         body.Counted(std::vector<std::uint8_t>{0, 0, 0, 0}).ZText("").U32(0).U32(0).U32(0).U32(0x40000000);
         return WithBody(body);
       }},
      {"no terminator for the name", [] {
         Bytes body;
         body.U32(kind_ids::kButton).Zeros(20).Raw(std::string("unterminated"));
         return WithBody(body);
       }},
  };
  for (const auto& c : cases) {
    Bytes bytes = c.make();
    EXPECT_TRUE(FailsToLoad([&] { Load(bytes); })) << c.what;
  }
}

Bytes KindDataBytes(std::uint32_t version, std::initializer_list<std::uint32_t> words) {
  Bytes b;
  b.U32(version);
  for (std::uint32_t w : words) b.U32(w);
  return b;
}

TEST_F(Reader, CountsInsidePropertyDataThatDoNotFitFail) {
  // Combo box: nine settings, two empty byte strings, an empty text, then a list count.
  Bytes combo = KindDataBytes(3, {2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0});
  combo.U16(0xFFFF).U32(0x10000000);
  EXPECT_TRUE(FailsToLoad([&] { ReadKindData(kind_ids::kComboBox, combo.data); }));

  // Page control whose page block claims more pages than it holds.
  Bytes page;
  page.U32(0).U32(1).U32(0).U32(0).Zeros(60);
  Bytes block;
  block.U32(3).U32(1000);
  page.Counted(block.data);
  EXPECT_TRUE(FailsToLoad([&] { ReadKindData(kind_ids::kPageControl, page.data); }));

  // A font that is not a whole LOGFONT.
  Bytes label = KindDataBytes(2, {0, 8, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0});
  label.Counted(std::vector<std::uint8_t>(20, 1));
  EXPECT_TRUE(FailsToLoad([&] { ReadKindData(kind_ids::kLabel, label.data); }));
}

TEST_F(Reader, AHigherPropertyDataVersionFailsTheWindow) {
  struct Kind {
    KindId id;
    std::uint32_t highest;
  };
  for (Kind kind : {Kind{kind_ids::kWindow, 6}, Kind{kind_ids::kButton, 1}, Kind{kind_ids::kLabel, 2},
                    Kind{kind_ids::kPicBox, 2}, Kind{kind_ids::kGroupBox, 1}, Kind{kind_ids::kComboBox, 3},
                    Kind{kind_ids::kSliderBar, 1}, Kind{kind_ids::kCommonDlg, 1},
                    Kind{kind_ids::kPageControl, 7}}) {
    SCOPED_TRACE(kind.id);
    Bytes data = KindDataBytes(kind.highest + 1, {});
    EXPECT_EQ(ReadKindData(kind.id, data.data).status, KindDataStatus::VersionTooHigh);
    EXPECT_EQ(FindKind(kind.id)->dataVersion, kind.highest);
  }

  TestUnit good = Button(0x16010002, "b");
  TestUnit newer = Button(0x16010003, "c");
  newer.kindData = testing::ButtonData("c", 2);
  WindowResource resource = Load(testing::ResourceBytes(
      {testing::WindowOf(0x52010001, {WindowUnit(), good}), testing::WindowOf(0x52010D88, {WindowUnit(0x06010D89), good, newer})}));
  std::vector<KindData> data;
  EXPECT_TRUE(ReadWindowKindData(resource.Windows()[0], &data));
  EXPECT_EQ(std::get<ButtonData>(data[1]).caption, "b");
  EXPECT_FALSE(ReadWindowKindData(resource.Windows()[1]));
}

TEST_F(Reader, KindsWithoutAReaderFailTheWindow) {
  for (KindId kind : {KindId{0x00010002}, kind_ids::kDrawPanel}) {
    TestUnit unit = Button(0x16010002, "x");
    unit.kind = kind;
    WindowResource resource = Load(testing::ResourceBytes({testing::WindowOf(0x52010001, {WindowUnit(), unit})}));
    EXPECT_FALSE(ReadWindowKindData(resource.Windows()[0])) << kind;
  }
}

TEST_F(Reader, LowerVersionsLeaveTheLaterFieldsOut) {
  // A version 1 window: thirteen settings, no taskbar flag and no class name.
  Bytes window = KindDataBytes(1, {4, 1, 0xFF000000, 0, 0, 1, 1, 1, 0, 0, 1, 0, 0});
  window.Counted(std::string()).Counted(std::string()).Counted(std::string()).Counted(std::string("标题")).Counted(std::string());
  KindDataResult result = ReadKindData(kind_ids::kWindow, window.data);
  ASSERT_EQ(result.status, KindDataStatus::Ok);
  const auto& data = std::get<WindowData>(result.data);
  EXPECT_EQ(data.borderStyle, 4u);
  EXPECT_EQ(data.escCloses, 1u);
  EXPECT_EQ(data.caption, "标题");
  EXPECT_EQ(data.showInTaskbar, 1u);  // default, not stored before version 2

  // A version 1 label has no texts 27 and 28.
  Bytes label = KindDataBytes(1, {0, 8, 0, 0, 0, 0, 0x0000FF, 0, 1, 0, 0, 0, 0, 0, 1, 0});
  label.Counted(std::string()).Counted(std::string()).Counted(std::string("文字"));
  result = ReadKindData(kind_ids::kLabel, label.data);
  ASSERT_EQ(result.status, KindDataStatus::Ok);
  EXPECT_EQ(std::get<LabelData>(result.data).caption, "文字");
  EXPECT_EQ(std::get<LabelData>(result.data).TextColor(), 0xFFu);
}

TEST(KindDescriptions, NamesStateAndTheProperties) {
  const KindDescription* pages = FindKind(kind_ids::kPageControl);
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->name, "高级选择夹");
  EXPECT_EQ(pages->englishName, "PageControl");
  EXPECT_TRUE(pages->state & kind_state::kPagedContainer);
  EXPECT_FALSE(pages->state & kind_state::kNeverShown);
  EXPECT_TRUE(FindKind(kind_ids::kCommonDlg)->state & kind_state::kNeverShown);
  for (const auto& kind : AllKinds()) {
    if (kind.id != kind_ids::kPageControl && kind.id != kind_ids::kCommonDlg) {
      EXPECT_EQ(kind.state, 0u) << kind.id;
    }
  }
  EXPECT_EQ(FindKind(kind_ids::kButton)->name, "按钮");
  EXPECT_EQ(FindKind(0x00010002), nullptr);

  // The properties the board reads and writes, at their indices.
  struct Property {
    KindId kind;
    std::size_t index;
    std::string_view name;
    PropertyType type;
  };
  for (const Property& p : {Property{kind_ids::kButton, 4, "Tag", PropertyType::Text},
                            Property{kind_ids::kButton, 7, "MousePointer", PropertyType::Cursor},
                            Property{kind_ids::kButton, 10, "Caption", PropertyType::Text},
                            Property{kind_ids::kWindow, 8, "Caption", PropertyType::Text},
                            Property{kind_ids::kWindow, 22, "EscCloses", PropertyType::Bool},
                            Property{kind_ids::kCommonDlg, 10, "FileName", PropertyType::FileName},
                            Property{kind_ids::kComboBox, 19, "CurrentIndex", PropertyType::Int},
                            Property{kind_ids::kSliderBar, 19, "Position", PropertyType::Int},
                            Property{kind_ids::kPageControl, 12, "CurrentPage", PropertyType::Int},
                            Property{kind_ids::kLabel, 16, "TextColor", PropertyType::Colour}}) {
    const auto& properties = FindKind(p.kind)->properties;
    ASSERT_LT(p.index, properties.size());
    EXPECT_EQ(properties[p.index].name, p.name);
    EXPECT_EQ(properties[p.index].type, p.type) << p.name;
  }
  EXPECT_EQ(FindKind(kind_ids::kPageControl)->properties.size(), 8u + 55u);

  std::int32_t index = 0;
  ASSERT_TRUE(FindEventIndex(*FindKind(kind_ids::kButton), "RightButtonUp", index));
  EXPECT_EQ(index, -5);
  ASSERT_TRUE(FindEventIndex(*FindKind(kind_ids::kWindow), "CloseRequested", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(FindEventIndex(*FindKind(kind_ids::kButton), "CloseRequested", index));
}

}  // namespace
}  // namespace forms
