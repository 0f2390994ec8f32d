#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/pictures/control_picture_win.h"
#include "runtime/pictures/decoded_picture_win.h"
#include "runtime/pictures/tests/picture_test_support.h"

namespace pictures {
namespace {

using testing::MakeBmp;
using testing::Put;
using testing::ReadFixture;

// A top-down 32-bit target whose pixels the test reads back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    const HBRUSH brush = CreateSolidBrush(fill);
    const RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
};

TEST(PictureDrawTest, ContactBadgeDrawsAtItsOwnSizeWithItsPaletteColours) {
  const auto file = ReadFixture(SB_BADGE_BMP);
  const auto picture = DecodedPicture::Decode(file);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Kind(), PictureKind::Bmp);
  Canvas canvas(80, 30, RGB(1, 2, 3));
  picture->Draw(canvas.Dc(), 0, 0, -1, -1, SRCCOPY);
  int mismatches = 0;
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < 74; ++x) {
      const std::uint8_t index = file[1078 + 76 * (21 - y) + x];  // the file is bottom-up
      const COLORREF want = RGB(file[56 + 4 * index], file[55 + 4 * index], file[54 + 4 * index]);
      if (canvas.At(x, y) != want) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(canvas.At(74, 0), RGB(1, 2, 3));  // nothing beyond its width
  EXPECT_EQ(canvas.At(0, 22), RGB(1, 2, 3));
}

TEST(PictureDrawTest, NegativeHeightBmpIsShownUpsideDownAndStretched) {
  // A top-down file whose first row is red and second blue: shown blue over red.
  const auto picture = DecodedPicture::Decode(MakeBmp(1, -2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0}));
  ASSERT_TRUE(picture);
  Canvas canvas(4, 4, RGB(0, 0, 0));
  picture->Draw(canvas.Dc(), 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(2, 3), RGB(255, 0, 0));
}

TEST(PictureDrawTest, NegativeRasterOperationLeavesTheTransparentColourOut) {
  // Red, blue, red over a green target with red transparent.
  const auto picture = DecodedPicture::Decode(
      MakeBmp(3, 1, 24, {}, {0, 0, 255, 255, 0, 0, 0, 0, 255, 0, 0, 0}));
  ASSERT_TRUE(picture);
  Canvas canvas(3, 1, RGB(0, 255, 0));
  picture->Draw(canvas.Dc(), 0, 0, -1, -1, -static_cast<long>(RGB(255, 0, 0)));
  EXPECT_EQ(canvas.At(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(2, 0), RGB(0, 255, 0));
}

TEST(PictureDrawTest, PaletteFormsDraw) {
  const auto gif = DecodedPicture::Decode(ReadFixture(SB_PICTURE_FIXTURES "/two-rows.gif"));
  const auto pcx = DecodedPicture::Decode(ReadFixture(SB_PICTURE_FIXTURES "/two-rows.pcx"));
  for (const auto* picture : {&gif, &pcx}) {
    ASSERT_TRUE(*picture);
    Canvas canvas(5, 6, RGB(0, 0, 0));
    (*picture)->Draw(canvas.Dc(), 0, 0, -1, -1, SRCCOPY);
    EXPECT_EQ(canvas.At(2, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(2, 5), RGB(255, 255, 0));
  }
  // 1-bit: set bits white, clear bits black.
  std::vector<std::uint8_t> mono(128, 0);
  mono[0] = 0x0A, mono[1] = 3, mono[2] = 1, mono[3] = 1, mono[65] = 1;
  Put(mono, 8, 1, 2);  // 2 x 1
  Put(mono, 66, 2, 2);
  mono.insert(mono.end(), {0x80, 0x00});
  const auto picture = DecodedPicture::Decode(mono);
  ASSERT_TRUE(picture);
  Canvas canvas(2, 1, RGB(9, 9, 9));
  picture->Draw(canvas.Dc(), 0, 0, -1, -1, SRCCOPY);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 0));
}

// An icon file of one 32 x 32 opaque 32-bit image of `colour`; type 1 icon, 2 cursor.
std::vector<std::uint8_t> MakeIcon(int type, COLORREF colour) {
  std::vector<std::uint8_t> b(6 + 16 + 40, 0);
  Put(b, 2, type, 2);
  Put(b, 4, 1, 2);
  b[6] = 32;
  b[7] = 32;
  Put(b, 6 + 4, 1, 2);
  Put(b, 6 + 6, 32, 2);
  const std::size_t image = 22, image_size = 40 + 32 * 32 * 4 + 32 * 4;
  Put(b, 6 + 8, image_size, 4);
  Put(b, 6 + 12, image, 4);
  Put(b, image, 40, 4);
  Put(b, image + 4, 32, 4);
  Put(b, image + 8, 64, 4);
  Put(b, image + 12, 1, 2);
  Put(b, image + 14, 32, 2);
  for (int i = 0; i < 32 * 32; ++i) {
    b.insert(b.end(), {GetBValue(colour), GetGValue(colour), GetRValue(colour), 255});
  }
  b.resize(b.size() + 32 * 4, 0);  // the AND mask: all shown
  return b;
}

TEST(PictureDrawTest, IconsAndCursorsBecomeIconHandles) {
  for (int type : {1, 2}) {
    const auto picture = DecodedPicture::Decode(MakeIcon(type, RGB(200, 40, 10)));
    ASSERT_TRUE(picture) << type;
    EXPECT_EQ(picture->Kind(), type == 1 ? PictureKind::Icon : PictureKind::Cursor);
    EXPECT_NE(picture->Icon(), nullptr);
    EXPECT_EQ(picture->Width(), 32);
    EXPECT_EQ(picture->Height(), 32);
    Canvas canvas(40, 40, RGB(0, 0, 0));
    picture->Draw(canvas.Dc(), 4, 4, -1, -1, SRCCOPY);
    EXPECT_EQ(canvas.At(10, 10), RGB(200, 40, 10));
    EXPECT_EQ(canvas.At(2, 2), RGB(0, 0, 0));
  }
  auto broken = MakeIcon(1, 0);
  broken.resize(60);  // the image runs past the data
  EXPECT_FALSE(DecodedPicture::Decode(broken));
}

TEST(ControlPictureTest, InstalledDecoderServesTheControlLibrary) {
  const controls::PictureDecoder previous = controls::SetPictureDecoder(nullptr);
  InstallPictureDecoder();
  const auto badge = controls::DecodePicture(ReadFixture(SB_BADGE_BMP));
  ASSERT_TRUE(badge);
  EXPECT_EQ(badge->GetType(), controls::Picture::Type::Bitmap);
  EXPECT_EQ(badge->Size().cx, 74);
  EXPECT_EQ(badge->Size().cy, 22);
  BITMAP info{};
  ASSERT_NE(GetObjectA(badge->ButtonImage(), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 74);
  EXPECT_EQ(badge->ButtonImage(), badge->ButtonImage());  // kept, not remade
  Canvas canvas(10, 10, RGB(0, 0, 0));
  const auto icon = controls::DecodePicture(MakeIcon(1, RGB(0, 90, 200)));
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->GetType(), controls::Picture::Type::Icon);
  icon->Draw(canvas.Dc(), RECT{0, 0, 10, 10});
  EXPECT_EQ(canvas.At(5, 5), RGB(0, 90, 200));
  EXPECT_FALSE(controls::DecodePicture(std::vector<std::uint8_t>{'B', 'M', 0, 0, 0}));
  controls::SetPictureDecoder(previous);
}

}  // namespace
}  // namespace pictures
