#include <gtest/gtest.h>

#include "controls/frame_rules.h"
#include "controls/picture_fit.h"
#include "controls/value_rules.h"

namespace controls {
namespace {

forms::WindowData Window(std::uint32_t border, const char* caption, std::uint32_t controlBox) {
  forms::WindowData data;
  data.borderStyle = border;
  data.caption = caption;
  data.controlBox = controlBox;
  return data;
}

TEST(WindowFrameTest, BorderStylesGiveTheirFrames) {
  struct Case {
    std::uint32_t border;
    bool thick, tool, edge;
  };
  for (const Case c : {Case{1, true, false, false}, Case{2, false, false, false}, Case{3, true, true, false},
                       Case{4, false, true, false}, Case{5, true, false, true}, Case{6, false, false, true}}) {
    const WindowFrame frame = ComputeWindowFrame(Window(c.border, "t", 1));
    EXPECT_TRUE(frame.caption && frame.sysMenu && frame.dialogFrame) << c.border;
    EXPECT_EQ(frame.thickFrame, c.thick) << c.border;
    EXPECT_EQ(frame.toolWindow, c.tool) << c.border;
    EXPECT_EQ(frame.clientEdge, c.edge) << c.border;
  }
}

TEST(WindowFrameTest, NoBorderMeansNoFrameWhateverTheCaption) {
  forms::WindowData data = Window(0, "岚铎声板", 1);
  data.minButton = 1;
  const WindowFrame frame = ComputeWindowFrame(data);
  EXPECT_FALSE(frame.caption || frame.sysMenu || frame.dialogFrame || frame.thickFrame);
  EXPECT_TRUE(frame.minimizeBox);
  EXPECT_FALSE(frame.maximizeBox);
}

TEST(WindowFrameTest, CaptionOnlyWithTitleOrControlBox) {
  const WindowFrame bare = ComputeWindowFrame(Window(2, "", 0));
  EXPECT_FALSE(bare.caption);
  EXPECT_TRUE(bare.dialogFrame);
  const WindowFrame titled = ComputeWindowFrame(Window(2, "设置快捷键", 0));
  EXPECT_TRUE(titled.caption);
  EXPECT_FALSE(titled.sysMenu);
  const WindowFrame boxed = ComputeWindowFrame(Window(4, "", 1));
  EXPECT_TRUE(boxed.caption && boxed.sysMenu && boxed.toolWindow);
}

TEST(BorderStyleTest, EachStyleSetsItsBitsOnly) {
  struct Case {
    std::uint32_t style;
    bool client, modal, edge, border, gradient;
  };
  for (const Case c : {Case{0, false, false, false, false, false}, Case{1, true, false, false, false, false},
                       Case{2, false, true, false, false, false}, Case{3, false, false, true, false, false},
                       Case{4, true, true, false, false, false}, Case{5, false, false, false, true, false},
                       Case{6, false, false, false, false, true}, Case{7, false, false, false, false, false}}) {
    const BorderBits bits = ComputeBorder(c.style);
    EXPECT_EQ(bits.clientEdge, c.client) << c.style;
    EXPECT_EQ(bits.dialogModalFrame, c.modal) << c.style;
    EXPECT_EQ(bits.staticEdge, c.edge) << c.style;
    EXPECT_EQ(bits.border, c.border) << c.style;
    EXPECT_EQ(bits.gradientFrame, c.gradient) << c.style;
  }
}

TEST(SliderRulesTest, RangeIsOrderedAndPositionsClamped) {
  const SliderRange range = OrderedRange(100, 10);
  EXPECT_EQ(range.low, 10);
  EXPECT_EQ(range.high, 100);
  EXPECT_EQ(ClampToRange(5, range), 10);
  EXPECT_EQ(ClampToRange(500, range), 100);
  EXPECT_EQ(ClampToRange(42, range), 42);
  EXPECT_EQ(StoredSliderPosition(-1), 0);
  EXPECT_EQ(StoredSliderPosition(40000), 32767);
  EXPECT_EQ(LimitToSpan(200, range), 90);
  EXPECT_EQ(LimitToSpan(-3, range), 0);
  // A span wider than int32 must not overflow.
  EXPECT_EQ(LimitToSpan(7, OrderedRange(INT32_MAX, INT32_MIN)), 7);
}

TEST(ComboRulesTest, HeightAndIndex) {
  EXPECT_EQ(CreatedComboHeight(2, 20), 160);
  EXPECT_EQ(CreatedComboHeight(1, 200), 200);
  EXPECT_EQ(CreatedComboHeight(0, 20), 20);
  EXPECT_EQ(ClampComboIndex(7, 3), 2);
  EXPECT_EQ(ClampComboIndex(-5, 3), -1);
  EXPECT_EQ(ClampComboIndex(1, 3), 1);
  EXPECT_EQ(ClampComboIndex(0, 0), -1);
}

TEST(LabelRulesTest, FrameWidthColoursAndTextPasses) {
  EXPECT_EQ(LabelFrameWidth(3), 5u);
  EXPECT_EQ(LabelFrameWidth(0xFFFFFFFF), 5u);  // negative as stored
  EXPECT_EQ(LabelFrameWidth(8), 8u);
  EXPECT_EQ(SetColours(0xFF000000, 0x112233, 0xFF000000), std::vector<std::uint32_t>{0x112233});
  EXPECT_EQ(SetColours(1, 2, 3).size(), 3u);

  const auto raised = TextPasses(1, 0x0000FF);
  ASSERT_EQ(raised.size(), 2u);
  EXPECT_EQ(raised[0].dx, 1);
  EXPECT_EQ(raised[0].colour, 0xFFFFFFu);
  EXPECT_EQ(raised[1].dx, 0);
  EXPECT_EQ(raised[1].colour, 0x0000FFu);
  const auto sunken = TextPasses(2, 0x0000FF);
  EXPECT_EQ(sunken[0].dx, 0);
  EXPECT_EQ(sunken[1].dy, 1);
  const auto shadow = TextPasses(3, 0x0000FF);
  EXPECT_EQ(shadow[0].dx, 2);
  EXPECT_EQ(shadow[0].colour, 0u);
  EXPECT_EQ(TextPasses(0, 0x0000FF).size(), 1u);
  EXPECT_EQ(TextPasses(9, 0x0000FF).size(), 1u);
}

TEST(PictureFitTest, Modes) {
  EXPECT_EQ(PlacePicture(0, 74, 22, 74, 22), (PlacedRect{0, 0, 74, 22}));
  EXPECT_EQ(PlacePicture(0, 10, 10, 74, 22), (PlacedRect{0, 0, 74, 22}));
  EXPECT_EQ(PlacePicture(1, 100, 50, 74, 22), (PlacedRect{0, 0, 100, 50}));
  // Fits: centred at its own size.
  EXPECT_EQ(PlacePicture(2, 100, 50, 40, 20), (PlacedRect{30, 15, 40, 20}));
  // Too wide: scaled by width, aspect kept, centred.
  EXPECT_EQ(PlacePicture(2, 50, 50, 100, 20), (PlacedRect{0, 20, 50, 10}));
  // Too high only.
  EXPECT_EQ(PlacePicture(2, 100, 10, 40, 20), (PlacedRect{40, 0, 20, 10}));
  EXPECT_EQ(PlacePicture(2, 10, 10, 0, 0), (PlacedRect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace controls
