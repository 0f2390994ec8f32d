// Editing unit records in place: the variable-length fields shift what follows, the fixed ones
// do not, and the list stays readable throughout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/carried_resource.h"
#include "forms/kind_data.h"
#include "forms/window_resource.h"

namespace forms {
namespace {

const int kTable[18] = {};
const int kEmpty = 0;

// A fresh copy of the main window's units for each test to change.
UnitList MainWindowUnits() {
  static const WindowResource resource =
      WindowResource::Load(CarriedWindowResource(), CodeBase{kTable, sizeof(int), 18, &kEmpty});
  const UnitList& units = resource.Windows()[0].units;
  return UnitList(units.Bytes(), static_cast<std::uint32_t>(units.Count()));
}

struct Snapshot {
  UnitId id;
  std::string name;
  Geometry geometry;
  std::vector<UnitId> children;
  std::vector<std::uint8_t> mousePointer;
  std::string tag;
  std::uint32_t flags;
  std::vector<std::uint8_t> kindData;
};

std::vector<Snapshot> Take(const UnitList& units) {
  std::vector<Snapshot> all;
  for (std::size_t i = 0; i < units.Count(); ++i) {
    const UnitRecord& r = units.Record(i);
    auto data = units.KindData(i);
    all.push_back({units.IdAt(i), r.name, r.geometry, r.children, r.mousePointer, r.tag, r.flags,
                   std::vector<std::uint8_t>(data.begin(), data.end())});
  }
  return all;
}

void ExpectSame(const Snapshot& a, const Snapshot& b) {
  EXPECT_EQ(a.id, b.id);
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.geometry.left, b.geometry.left);
  EXPECT_EQ(a.geometry.top, b.geometry.top);
  EXPECT_EQ(a.geometry.width, b.geometry.width);
  EXPECT_EQ(a.geometry.height, b.geometry.height);
  EXPECT_EQ(a.children, b.children);
  EXPECT_EQ(a.mousePointer, b.mousePointer);
  EXPECT_EQ(a.tag, b.tag);
  EXPECT_EQ(a.flags, b.flags);
  EXPECT_EQ(a.kindData, b.kindData);
}

std::size_t RecordStart(const UnitList& units, std::size_t index) {
  return static_cast<std::size_t>(units.RecordBody(index).data() - units.Bytes().data());
}

TEST(Editor, LongerTagShiftsEveryLaterRecordAndAllUnitsStillResolve) {
  UnitList units = MainWindowUnits();
  const auto before = Take(units);
  const std::size_t edited = 3;  // "标签1", early in the list
  ASSERT_EQ(units.Record(edited).name, "标签1");
  std::vector<std::size_t> startsBefore;
  for (std::size_t i = 0; i < units.Count(); ++i) startsBefore.push_back(RecordStart(units, i));
  const std::size_t sizeBefore = units.RecordBody(edited).size();
  const std::size_t lengthBefore = units.ByteLength();

  const std::string tag = "12,65,3 一个更长的标签";
  ASSERT_TRUE(units.ReplaceTag(edited, tag));

  EXPECT_EQ(units.Record(edited).tag, tag);
  EXPECT_EQ(units.RecordBody(edited).size(), sizeBefore + tag.size());
  EXPECT_EQ(units.ByteLength(), lengthBefore + tag.size());
  const auto after = Take(units);
  for (std::size_t i = 0; i < units.Count(); ++i) {
    SCOPED_TRACE(i);
    const std::size_t shift = startsBefore[i] > startsBefore[edited] ? tag.size() : 0;
    EXPECT_EQ(RecordStart(units, i), startsBefore[i] + shift);
    auto index = units.IndexOf(before[i].id);
    ASSERT_TRUE(index.has_value());
    Snapshot now = after[*index];
    if (i == edited) now.tag = before[i].tag;
    ExpectSame(now, before[i]);
  }
  // The last record still ends the list, and the edited bytes read back as a whole list.
  auto last = units.RecordBody(units.Count() - 1);
  EXPECT_EQ(last.data() + last.size(), units.Bytes().data() + units.Bytes().size());
  UnitList reread(units.Bytes(), static_cast<std::uint32_t>(units.Count()));
  EXPECT_EQ(reread.Record(edited).tag, tag);
  EXPECT_EQ(std::get<LabelData>(ReadKindData(reread.Record(edited).kind, reread.KindData(edited)).data).caption,
            "按钮组");
}

TEST(Editor, ShorterAndEmptyTagsShrinkTheRecord) {
  UnitList units = MainWindowUnits();
  const std::size_t last = units.Count() - 1;
  const std::size_t length = units.ByteLength();
  ASSERT_TRUE(units.ReplaceTag(last, "abcdef"));
  ASSERT_TRUE(units.ReplaceTag(last, "ab"));
  EXPECT_EQ(units.ByteLength(), length + 2);
  ASSERT_TRUE(units.ReplaceTag(last, ""));
  EXPECT_EQ(units.ByteLength(), length);
  EXPECT_EQ(units.RecordBody(last).size(), 118u);
  // A zero byte would end the stored text early; the text is kept up to it.
  ASSERT_TRUE(units.ReplaceTag(last, std::string("ab\0cd", 5)));
  EXPECT_EQ(units.Record(last).tag, "ab");
  EXPECT_EQ(units.ByteLength(), length + 2);
}

TEST(Editor, MousePointerBytesOfAnotherLength) {
  UnitList units = MainWindowUnits();
  const std::size_t picture = 29;  // "图片框1"
  ASSERT_EQ(units.Record(picture).name, "图片框1");
  const auto before = Take(units);
  std::vector<std::uint8_t> cursorFile(326, 0xAB);
  ASSERT_TRUE(units.ReplaceMousePointer(picture, cursorFile));
  EXPECT_EQ(units.Record(picture).mousePointer, cursorFile);
  ASSERT_TRUE(units.ReplaceMousePointer(picture + 1, {}));
  EXPECT_TRUE(units.Record(picture + 1).mousePointer.empty());
  EXPECT_EQ(units.ByteLength(), MainWindowUnits().ByteLength() + 326 - 4 - 4);
  const auto after = Take(units);
  for (std::size_t i = 0; i < units.Count(); ++i) {
    if (i == picture || i == picture + 1) continue;
    ExpectSame(after[i], before[i]);
  }
  EXPECT_EQ(after[picture].kindData, before[picture].kindData);
}

TEST(Editor, FixedFieldsAreWrittenInPlace) {
  UnitList units = MainWindowUnits();
  const std::size_t length = units.ByteLength();
  const std::size_t index = 50;
  ASSERT_TRUE(units.SetGeometry(index, {-32627, 5, 32627, 0}));
  ASSERT_TRUE(units.SetFlags(index, 0));
  units.SetRedirectTarget(index, units.IdAt(index + 1));
  const UnitRecord& record = units.Record(index);
  EXPECT_EQ(record.geometry.left, -32627);
  EXPECT_EQ(record.geometry.width, 32627);
  EXPECT_EQ(record.flags, 0u);
  EXPECT_EQ(record.redirectTarget, units.IdAt(index + 1));
  EXPECT_EQ(units.ByteLength(), length);
  EXPECT_EQ(units.Record(index + 1).geometry.top, MainWindowUnits().Record(index + 1).geometry.top);
}

}  // namespace
}  // namespace forms
