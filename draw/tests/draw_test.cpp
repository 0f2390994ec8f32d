#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "draw/brushes.h"
#include "draw/font.h"
#include "draw/gdiplus_session.h"
#include "draw/graphics.h"
#include "draw/image.h"
#include "draw/memory_stream.h"
#include "draw/pen.h"
#include "draw/status.h"
#include "draw/wide_text.h"

namespace draw {
namespace {

// A 32-bit top-down DIB selected into a memory DC, its pixels readable directly.
class Surface {
 public:
  Surface(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // 0xAARRGGBB as stored.
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x];
  }
  std::uint32_t Rgb(int x, int y) const { return At(x, y) & 0xFFFFFF; }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

class DrawTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session = new GdiplusSession; }
  static void TearDownTestSuite() {
    delete session;
    session = nullptr;
  }
  static GdiplusSession* session;
};
GdiplusSession* DrawTest::session = nullptr;

TEST_F(DrawTest, FillsAndClearsLandOnTheDeviceContext) {
  ASSERT_TRUE(session->Started());
  Surface surface(40, 30);
  Graphics graphics(surface.dc());
  ASSERT_TRUE(graphics);
  EXPECT_TRUE(graphics.Clear(0xFFFF00FF));
  SolidBrush green(0xFF00FF00);
  EXPECT_TRUE(graphics.FillRectangle(green, {10, 10, 10, 10}));
  Pen blue(0xFF0000FF, 1);
  EXPECT_TRUE(graphics.DrawLine(blue, 0, 25, 40, 25));
  graphics.Delete();

  EXPECT_EQ(surface.Rgb(0, 0), 0xFF00FFu);
  EXPECT_EQ(surface.Rgb(15, 15), 0x00FF00u);
  EXPECT_EQ(surface.Rgb(9, 15), 0xFF00FFu);
  EXPECT_EQ(surface.Rgb(20, 15), 0xFF00FFu);
  EXPECT_TRUE(surface.Rgb(5, 25) == 0x0000FFu || surface.Rgb(5, 26) == 0x0000FFu);
  EXPECT_EQ(surface.Rgb(5, 22), 0xFF00FFu);
}

TEST_F(DrawTest, ClipAndPathLimitWhatIsFilled) {
  Surface surface(40, 40);
  Graphics graphics(surface.dc());
  graphics.Clear(0xFF000000);
  GraphicsPath circle(kFillAlternate);
  ASSERT_TRUE(circle.AddEllipse({0, 0, 40, 40}));
  ASSERT_TRUE(graphics.SetClip(circle));
  SolidBrush white(0xFFFFFFFF);
  graphics.FillRectangle(white, {0, 0, 40, 40});
  ASSERT_TRUE(graphics.ResetClip());
  graphics.Delete();

  EXPECT_EQ(surface.Rgb(20, 20), 0xFFFFFFu);
  EXPECT_EQ(surface.Rgb(1, 1), 0x000000u);  // outside the circle
  EXPECT_EQ(surface.Rgb(38, 38), 0x000000u);
}

TEST_F(DrawTest, LinearGradientRunsFromFirstToSecondColour) {
  Surface surface(100, 10);
  Graphics graphics(surface.dc());
  LinearGradientBrush brush({0, 0}, {100, 0}, 0xFFFF0000, 0xFF0000FF);
  ASSERT_TRUE(brush);
  graphics.FillRectangle(brush, {0, 0, 100, 10});
  graphics.Delete();

  const std::uint32_t left = surface.Rgb(0, 5), right = surface.Rgb(99, 5), middle = surface.Rgb(50, 5);
  EXPECT_GT(left >> 16, 0xF0u);
  EXPECT_LT(left & 0xFF, 0x10u);
  EXPECT_GT(right & 0xFF, 0xF0u);
  EXPECT_LT(right >> 16, 0x10u);
  EXPECT_NEAR(static_cast<int>(middle >> 16), 0x80, 12);
  EXPECT_NEAR(static_cast<int>(middle & 0xFF), 0x80, 12);
}

TEST_F(DrawTest, FailuresAreFalseWithTheStatusKept) {
  Pen empty;
  EXPECT_FALSE(empty.Delete());  // nothing to delete

  FontFamily missing;
  EXPECT_FALSE(missing.Create("No Such Family 0815"));
  EXPECT_EQ(LastStatus(), 14);  // FontFamilyNotFound
  EXPECT_FALSE(missing);

  Image image;
  const std::uint8_t junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(image.LoadFromBytes(junk));
  EXPECT_NE(LastStatus(), kOk);
  EXPECT_EQ(image.Width(), 0u);

  SolidBrush brush(0xFF112233);
  EXPECT_TRUE(brush.Delete());
  EXPECT_EQ(LastStatus(), kOk);
  EXPECT_FALSE(brush.Delete());
}

TEST_F(DrawTest, RecreatingReplacesTheHeldObject) {
  SolidBrush brush(0xFF000000);
  GpBrush* first = brush.Native();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(brush.Create(0xFFFFFFFF));
  Surface surface(4, 4);
  Graphics graphics(surface.dc());
  graphics.FillRectangle(brush, {0, 0, 4, 4});
  graphics.Delete();
  EXPECT_EQ(surface.Rgb(2, 2), 0xFFFFFFu);
}

TEST_F(DrawTest, BitmapRoundTripsThroughPngBytes) {
  Bitmap bitmap;
  ASSERT_TRUE(bitmap.Create(7, 5));
  {
    Graphics graphics;
    ASSERT_TRUE(graphics.CreateOnImage(bitmap));
    graphics.Clear(0x00000000);
    SolidBrush red(0x80FF0000);
    graphics.FillRectangle(red, {2, 1, 3, 3});
  }
  MemoryStream out(std::span<const std::uint8_t>{});
  ASSERT_TRUE(bitmap.SaveToStream(out.Get(), PngEncoder()));
  const std::vector<std::uint8_t> png = out.Bytes();
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');

  Bitmap decoded;
  ASSERT_TRUE(decoded.CreateFromBytes(png));
  EXPECT_EQ(decoded.Width(), 7u);
  EXPECT_EQ(decoded.Height(), 5u);
  Argb inside = 0, outside = 1;
  ASSERT_TRUE(decoded.GetPixel(3, 2, inside));
  ASSERT_TRUE(decoded.GetPixel(0, 0, outside));
  EXPECT_EQ(inside, 0x80FF0000u);
  EXPECT_EQ(outside >> 24, 0u);

  Image image;
  ASSERT_TRUE(image.LoadFromBytes(png));
  Surface surface(14, 10);
  Graphics graphics(surface.dc());
  graphics.Clear(0xFF000000);
  ASSERT_TRUE(graphics.DrawImage(image, {0, 0, 14, 10}));  // stretched twice
  graphics.Delete();
  EXPECT_NEAR(static_cast<int>(surface.Rgb(7, 5) >> 16), 0x80, 3);
  EXPECT_EQ(surface.Rgb(1, 1), 0u);
}

TEST_F(DrawTest, TextsReachGdiplusAsUtf16AndDraw) {
  EXPECT_EQ(Widen("宋体"), std::wstring(L"\u5B8B\u4F53"));
  EXPECT_EQ(Widen(""), std::wstring());

  FontFamily family;
  // The CJK font the test prefix maps the Chinese faces to.
  ASSERT_TRUE(family.Create("WenQuanYi Zen Hei"));
  Font byFamily(family, 12, kFontBold, kUnitPixel);
  ASSERT_TRUE(byFamily);

  // From a GDI description, as controls' fonts come.
  HDC screen = GetDC(nullptr);
  LOGFONTA logfont{};
  logfont.lfHeight = -12;
  logfont.lfWeight = FW_BOLD;
  logfont.lfCharSet = DEFAULT_CHARSET;
  lstrcpyA(logfont.lfFaceName, "WenQuanYi Zen Hei");
  Font font;
  const bool made = font.CreateFromLogfont(screen, logfont);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(made);
  int style = -1;
  Real size = 0;
  EXPECT_TRUE(font.GetStyle(style));
  EXPECT_EQ(style, kFontBold);
  EXPECT_TRUE(font.GetSize(size));
  EXPECT_GT(size, 8.0f);
  FontFamily back;
  EXPECT_TRUE(font.GetFamily(back));
  EXPECT_TRUE(back);

  StringFormat format(0);
  EXPECT_TRUE(format.SetAlignment(kAlignNear));
  EXPECT_TRUE(format.SetTrimming(kTrimCharacter));

  Surface surface(60, 20);
  Graphics graphics(surface.dc());
  graphics.Clear(0xFF000000);
  SolidBrush white(0xFFFFFFFF);
  RectF bounds{};
  EXPECT_TRUE(graphics.MeasureString("声板", font, {0, 0, 60, 20}, &format, bounds));
  EXPECT_GT(bounds.width, 12.0f);
  ASSERT_TRUE(graphics.DrawString("声板", font, {0, 0, 60, 20}, &format, white));
  graphics.Delete();
  int lit = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) lit += surface.Rgb(x, y) != 0;
  EXPECT_GT(lit, 20);
}

}  // namespace
}  // namespace draw
