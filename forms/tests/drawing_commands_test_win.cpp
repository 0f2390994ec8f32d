// The drawing-panel commands on two live panels of a shown window: every result is read back
// from the kept picture and from the screen, and again after the panel has repainted itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "controls/drawing_panel.h"
#include "forms/drawing_commands.h"
#include "forms/tests/command_window.h"

namespace forms {
namespace {

using testing::CommandWindowTest;
using testing::kCommandWindow;
using testing::kCommandWindowUnit;
using testing::TestUnit;

constexpr UnitId kPanelA = 0x16010011;
constexpr UnitId kPanelB = 0x16010012;
constexpr int kWidth = 120;  // three tiles across, two down
constexpr int kHeight = 80;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

class DrawingCommandsTest : public CommandWindowTest {
 protected:
  // Showing a window costs Wine about two seconds: one window serves every test, its panels
  // cleared in between.
  void SetUp() override {
    App();
    if (FormsRuntime::Instance().IsLoaded(kCommandWindow)) {
      ClearDrawing(A());
      ClearDrawing(B());
      Settle();
      return;
    }
    TestUnit window;
    window.id = kCommandWindowUnit;
    window.kind = kind_ids::kWindow;
    window.left = 20;
    window.top = 20;
    window.width = 320;  // room for a frame around the two panels
    window.height = 160;
    window.flags = unit_flags::kVisible;  // the screen is read back
    TestUnit a;
    a.id = kPanelA;
    a.kind = kind_ids::kDrawPanel;
    a.name = "画板1";
    a.left = 10;
    a.top = 10;
    a.width = kWidth;
    a.height = kHeight;
    a.flags = unit_flags::kVisible;
    TestUnit b = a;
    b.id = kPanelB;
    b.name = "画板2";
    b.left = 145;
    bytes_ = testing::ResourceBytes({testing::WindowOf(kCommandWindow, {window, a, b})}).data;
    ProcessWindowDefinitions().Read(std::as_bytes(std::span(bytes_)), HandlerTableCodeBase(testing::kCommandHandlers));
    Load();
    ASSERT_NE(Panel(kPanelA), nullptr);
    ASSERT_NE(Panel(kPanelB), nullptr);
    Settle();
  }

  void TearDown() override {}
  static void TearDownTestSuite() {
    FormsRuntime::Instance().DestroyAllWindows();
    Pump();
  }

  static runtime::UnitRef A() { return Ref(kPanelA, kind_ids::kDrawPanel); }
  static runtime::UnitRef B() { return Ref(kPanelB, kind_ids::kDrawPanel); }
  static controls::DrawingPanel* Panel(UnitId unit) {
    return controls::FindDrawingPanel(FormsRuntime::Instance().UnitHandle(kCommandWindow, unit));
  }
  // No paint pending: what the screen shows next comes from the command itself.
  static void Settle() {
    Pump();
    UpdateWindow(FormsRuntime::Instance().WindowHandle(kCommandWindow));
  }
  static COLORREF Kept(UnitId unit, int x, int y) { return GetPixel(Panel(unit)->Picture(), x, y); }
  static COLORREF Screen(UnitId unit, int x, int y) {
    HWND window = FormsRuntime::Instance().UnitHandle(kCommandWindow, unit);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
  }
  static void Repaint(UnitId unit) {
    HWND window = FormsRuntime::Instance().UnitHandle(kCommandWindow, unit);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
  }
  // The pixel in the kept picture and on the screen, before and after a repaint.
  static void ExpectEverywhere(UnitId unit, int x, int y, COLORREF wanted) {
    EXPECT_EQ(Kept(unit, x, y), wanted) << "kept picture at " << x << "," << y;
    EXPECT_EQ(Screen(unit, x, y), wanted) << "screen at " << x << "," << y;
    Repaint(unit);
    EXPECT_EQ(Screen(unit, x, y), wanted) << "repainted screen at " << x << "," << y;
  }
  static void Fill(const runtime::UnitRef& panel, int x, int y, int width, int height, COLORREF colour) {
    const std::uint32_t colours[] = {colour, colour};
    GradientFill(panel, x, y, width, height, 1, colours);
  }
  static COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }
};

int Brightness(COLORREF colour) { return GetRValue(colour); }

TEST_F(DrawingCommandsTest, APanelStartsInItsBackgroundAndClearingRestoresIt) {
  ExpectEverywhere(kPanelA, 0, 0, Face());
  ExpectEverywhere(kPanelA, kWidth - 1, kHeight - 1, Face());

  Fill(A(), 0, 0, kWidth, kHeight, 0x0000FF);
  Settle();
  ClearDrawing(A(), {10, 20, 30, 40});
  ExpectEverywhere(kPanelA, 10, 20, Face());
  ExpectEverywhere(kPanelA, 39, 59, Face());
  ExpectEverywhere(kPanelA, 40, 20, 0x0000FF);
  ExpectEverywhere(kPanelA, 10, 60, 0x0000FF);
  EXPECT_EQ(Panel(kPanelA)->Position().x, 10);
  EXPECT_EQ(Panel(kPanelA)->Position().y, 20);

  Settle();
  ClearDrawing(A());  // the whole client area
  ExpectEverywhere(kPanelA, kWidth - 1, kHeight - 1, Face());
  ExpectEverywhere(kPanelA, 40, 20, Face());
  EXPECT_EQ(Panel(kPanelA)->Position().x, 0);
  EXPECT_EQ(Panel(kPanelA)->Position().y, 0);
}

TEST_F(DrawingCommandsTest, EachModeRunsFromTheFirstColourToTheLast) {
  // Which corner gets the first colour (black) and which the last (white).
  struct Corner {
    int x, y;
  };
  constexpr Corner kTopLeft{0, 0}, kTopRight{kWidth - 1, 0}, kBottomLeft{0, kHeight - 1},
      kBottomRight{kWidth - 1, kHeight - 1};
  const struct {
    std::optional<std::int32_t> mode;
    Corner first, last;
  } cases[] = {
      {1, kTopLeft, kBottomLeft},     {5, kBottomLeft, kTopLeft},   {2, kTopLeft, kTopRight},
      {6, kTopRight, kTopLeft},       {3, kTopLeft, kBottomRight},  {7, kBottomRight, kTopLeft},
      {4, kBottomLeft, kTopRight},    {8, kTopRight, kBottomLeft},  {std::nullopt, kTopLeft, kTopRight},
      {0, kTopLeft, kBottomLeft},     {9, kTopRight, kBottomLeft},
  };
  const std::uint32_t colours[] = {kBlack, kWhite};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode ? *c.mode : -1);
    Settle();
    GradientFill(A(), 0, 0, kWidth, kHeight, c.mode, colours);
    ExpectEverywhere(kPanelA, c.first.x, c.first.y, kBlack);
    ExpectEverywhere(kPanelA, c.last.x, c.last.y, kWhite);
  }

  // Across the tile edges at 50 and 100 the ramp keeps climbing evenly.
  Settle();
  GradientFill(A(), 0, 0, kWidth, kHeight, 2, colours);
  for (int x = 1; x < kWidth; ++x) {
    const int step = Brightness(Kept(kPanelA, x, 40)) - Brightness(Kept(kPanelA, x - 1, 40));
    EXPECT_TRUE(step >= 1 && step <= 3) << "x " << x << " step " << step;
    EXPECT_EQ(Screen(kPanelA, x, 40), Kept(kPanelA, x, 40)) << x;
  }
}

TEST_F(DrawingCommandsTest, SeveralColoursShareTheRectangle) {
  const std::uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
  GradientFill(B(), 10, 10, 101, 20, 2, colours);
  ExpectEverywhere(kPanelB, 10, 15, 0x0000FF);
  ExpectEverywhere(kPanelB, 60, 15, 0x00FF00);   // the middle
  ExpectEverywhere(kPanelB, 110, 15, 0xFF0000);
  ExpectEverywhere(kPanelB, 111, 15, Face());    // just past it
  ExpectEverywhere(kPanelB, 60, 30, Face());
  ExpectEverywhere(kPanelA, 60, 15, Face());     // the other panel is untouched
}

TEST_F(DrawingCommandsTest, NothingIsDrawnForAnEmptyOrOutsideRectangleOrOneColour) {
  const std::uint32_t two[] = {kBlack, kBlack};
  const std::uint32_t one[] = {kBlack};
  const struct {
    const char* what;
    int x, y, width, height;
    std::span<const std::uint32_t> colours;
  } cases[] = {
      {"no width", 0, 0, 0, 10, two},          {"no height", 0, 0, 10, 0, two},
      {"negative width", 20, 0, -10, 10, two}, {"right of the panel", kWidth, 0, 10, 10, two},
      {"below the panel", 0, kHeight, 10, 10, two}, {"left of the panel", -10, 0, 10, 10, two},
      {"one colour", 0, 0, 10, 10, one},       {"no colours", 0, 0, 10, 10, {}},
  };
  for (const auto& c : cases) {
    GradientFill(A(), c.x, c.y, c.width, c.height, 1, c.colours);
    EXPECT_EQ(Kept(kPanelA, 0, 0), Face()) << c.what;
    EXPECT_EQ(Kept(kPanelA, 15, 5), Face()) << c.what;
    EXPECT_EQ(Kept(kPanelA, kWidth - 1, kHeight - 1), Face()) << c.what;
  }

  // Partly outside: the visible part is drawn, with the colours of the whole rectangle.
  const std::uint32_t ramp[] = {kBlack, kWhite};
  GradientFill(A(), -51, 0, 103, 10, 2, ramp);
  const int middle = Brightness(Kept(kPanelA, 0, 5));
  EXPECT_GE(middle, 125);
  EXPECT_LE(middle, 130);
  ExpectEverywhere(kPanelA, 51, 5, kWhite);
  ExpectEverywhere(kPanelA, 52, 5, Face());
}

TEST_F(DrawingCommandsTest, CopyPictureAppliesItsRasterOperation) {
  constexpr COLORREF kSource = 0x30C0F0;
  constexpr COLORREF kTarget = 0x996633;
  const struct {
    std::optional<std::int32_t> mode;
    COLORREF result;
  } cases[] = {
      {1, kSource},           {2, ~kSource & 0xFFFFFF}, {3, kSource ^ kTarget},
      {4, kSource | kTarget}, {5, kSource & kTarget},   {std::nullopt, kSource},
      {0, kSource},           {6, kSource & kTarget},
  };
  Fill(A(), 0, 0, 20, 20, kSource);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode ? *c.mode : -1);
    Fill(B(), 0, 0, kWidth, kHeight, kTarget);
    Settle();
    CopyPicture(A(), 0, 0, 20, 20, B(), 30, 40, c.mode);
    ExpectEverywhere(kPanelB, 30, 40, c.result);
    ExpectEverywhere(kPanelB, 49, 59, c.result);
    ExpectEverywhere(kPanelB, 50, 40, kTarget);
    ExpectEverywhere(kPanelB, 29, 59, kTarget);
  }
  EXPECT_EQ(Kept(kPanelA, 10, 10), kSource);  // the source stays as it was
  EXPECT_EQ(Kept(kPanelA, 40, 50), Face());
}

TEST_F(DrawingCommandsTest, CopyPictureWithinOnePanelAndOfTheWholeArea) {
  Fill(A(), 0, 0, 10, 10, 0x0000FF);
  Settle();
  CopyPicture(A(), 0, 0, 10, 10, std::nullopt, 60, 30);  // the target is the source
  ExpectEverywhere(kPanelA, 65, 35, 0x0000FF);
  ExpectEverywhere(kPanelA, 70, 35, Face());

  Settle();
  CopyPicture(A(), 0, 0, std::nullopt, std::nullopt, B(), 0, 0);
  ExpectEverywhere(kPanelB, 5, 5, 0x0000FF);
  ExpectEverywhere(kPanelB, 65, 35, 0x0000FF);
  ExpectEverywhere(kPanelB, kWidth - 1, kHeight - 1, Face());

  // A unit that is not a drawing panel has no picture: nothing happens.
  CopyPicture(Ref(0x1601FFFF, kind_ids::kDrawPanel), 0, 0, 10, 10, A(), 0, 0);
  EXPECT_EQ(Kept(kPanelA, 5, 5), 0x0000FF);
}

}  // namespace
}  // namespace forms
