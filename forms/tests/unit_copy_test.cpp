// Units made and removed at run time: the copied record and the list edits that keep the
// list well-formed for the next edit and the next load.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "forms/tests/resource_builder.h"
#include "forms/unit_copy.h"
#include "forms/window_resource.h"

namespace forms {
namespace {

using testing::TestUnit;

const long kTable[4] = {};
const long kEmpty = 0;

class UnitCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    TestUnit window;
    window.id = 0x06010000;
    window.kind = kind_ids::kWindow;
    TestUnit group;
    group.id = 0x16010001;
    group.kind = kind_ids::kGroupBox;
    group.name = "分组框1";
    group.children = {0x16010002, 0x16010003};
    TestUnit button;
    button.id = 0x16010002;
    button.name = "按钮1";
    button.left = 11;
    button.top = 12;
    button.width = 13;
    button.height = 14;
    button.parent = group.id;
    button.children = {0x16010009};
    button.tag = "7";
    button.cursor = {0xAB, 0xCD};
    button.flags = 0x15;
    button.events = {{0, 1}, {-1, 2}};
    button.kindData = testing::ButtonData("播放");
    TestUnit other = button;
    other.id = 0x16010003;
    other.name = "按钮2";
    other.events = {};
    other.children = {};
    other.kindData = testing::ButtonData("停止");
    resource_ = WindowResource::Load(
        testing::ResourceBytes({testing::WindowOf(0x52010001, {window, group, button, other})}).data,
        {kTable, sizeof(long), 4, &kEmpty});
  }
  UnitList& Units() { return resource_.Windows()[0].units; }
  // What a fresh load of the edited list would see.
  UnitList Reloaded() { return UnitList(Units().Bytes(), static_cast<std::uint32_t>(Units().Count())); }

  WindowResource resource_;
};

TEST_F(UnitCopy, TheCopyKeepsTheSettingsAndDropsBindingsChildrenAndRedirection) {
  Units().SetRedirectTarget(2, 0x16010003);
  const UnitRecord& source = Units().Record(2);
  ASSERT_EQ(source.events.size(), 2u);

  ASSERT_TRUE(Units().Append(0x16010004, CopiedUnitBody(Units(), 2)));
  ASSERT_EQ(Units().Count(), 5u);
  EXPECT_EQ(Units().IdAt(4), 0x16010004u);
  {
    UnitList* list = &Units();
    const UnitRecord& copy = list->Record(4);
    EXPECT_EQ(copy.kind, kind_ids::kButton);
    EXPECT_EQ(copy.name, "按钮1");
    EXPECT_EQ(copy.geometry.left, 11);
    EXPECT_EQ(copy.geometry.height, 14);
    EXPECT_EQ(copy.parent, 0x16010001u);
    EXPECT_EQ(copy.tag, "7");
    EXPECT_EQ(copy.flags, 0x15u);
    EXPECT_EQ(copy.mousePointer, (std::vector<std::uint8_t>{0xAB, 0xCD}));
    EXPECT_TRUE(copy.events.empty());
    EXPECT_TRUE(copy.children.empty());
    EXPECT_EQ(copy.redirectTarget, 0u);
    EXPECT_TRUE(list->Handlers(4).empty());
    const auto kindData = list->KindData(4);
    const auto sourceData = list->KindData(2);
    EXPECT_TRUE(std::equal(kindData.begin(), kindData.end(), sourceData.begin(), sourceData.end()));
  }
  // The source and the others are as they were, and the list loads again.
  EXPECT_EQ(Units().Record(2).events.size(), 2u);
  EXPECT_EQ(Units().Handlers(2).size(), 2u);
  UnitList again = Reloaded();
  EXPECT_EQ(again.Record(4).name, "按钮1");
  EXPECT_EQ(again.Record(3).name, "按钮2");
}

TEST_F(UnitCopy, RemovingAUnitKeepsTheOthersAndTheirHandlers) {
  ASSERT_TRUE(Units().Append(0x16010004, CopiedUnitBody(Units(), 3)));
  Units().Remove(2);  // a unit in the middle, with handlers
  ASSERT_EQ(Units().Count(), 4u);
  EXPECT_FALSE(Units().IndexOf(0x16010002));
  EXPECT_EQ(Units().IdAt(2), 0x16010003u);
  EXPECT_EQ(Units().Record(2).name, "按钮2");
  EXPECT_EQ(Units().Record(3).name, "按钮2");
  EXPECT_TRUE(Units().Handlers(2).empty());
  EXPECT_EQ(Units().Record(1).name, "分组框1");
  UnitList again = Reloaded();
  EXPECT_EQ(again.Record(3).geometry.top, 12);

  // The container forgets it; the later edits still land in the right records.
  const UnitId left[] = {0x16010003};
  ASSERT_TRUE(Units().ReplaceChildren(1, left));
  EXPECT_EQ(Units().Record(1).children, (std::vector<UnitId>{0x16010003}));
  ASSERT_TRUE(Units().ReplaceTag(3, "长一些的标记"));
  EXPECT_EQ(Units().Record(3).tag, "长一些的标记");
  EXPECT_EQ(Units().Record(2).tag, "7");
  UnitList last = Reloaded();
  EXPECT_EQ(last.Record(1).children.size(), 1u);
  EXPECT_EQ(last.Record(3).tag, "长一些的标记");
}

TEST_F(UnitCopy, FreeIdsStayInTheSourcesClass) {
  EXPECT_EQ(FreeUnitId(Units(), 0x16010002), 0x16010004u);
  ASSERT_TRUE(Units().Append(0x1601FFFF, CopiedUnitBody(Units(), 2)));
  EXPECT_EQ(FreeUnitId(Units(), 0x16010002), 0x16010004u);  // past the top: the first gap
  EXPECT_EQ(FreeUnitId(Units(), 0x16020005), 0x16020001u);  // a class without units
}

}  // namespace
}  // namespace forms
