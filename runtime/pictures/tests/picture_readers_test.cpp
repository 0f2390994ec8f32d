#include <gtest/gtest.h>

#include <string>

#include "runtime/pictures/icon_directory.h"
#include "runtime/pictures/picture_data.h"
#include "runtime/pictures/tests/picture_test_support.h"

namespace pictures {
namespace {

using testing::MakeBmp;
using testing::Put;
using testing::ReadFixture;

const std::string kFixtures = SB_PICTURE_FIXTURES;

// Blue-green-red of pixel (x, y), y counted from the bottom row.
std::vector<int> Bgr(const PixelPicture& p, int x, int y) {
  const std::uint8_t* o = p.pixels.data() + (static_cast<std::size_t>(y) * p.width + x) * 3;
  return {o[0], o[1], o[2]};
}

// Palette index of (x, y from the top) in a packed 8-bit bitmap, and that entry's BGR.
std::vector<int> PaletteBgr(const PixelPicture& p, int x, int y) {
  const std::size_t stride = (static_cast<std::size_t>(p.width) + 3) & ~std::size_t{3};
  const std::uint8_t index = p.pixels[1064 + stride * (p.height - 1 - y) + x];
  const std::uint8_t* e = p.pixels.data() + 40 + 4 * index;
  return {e[0], e[1], e[2]};
}

TEST(PictureTypeTest, RecognisesByLeadingBytesInOrder) {
  const struct {
    std::vector<std::uint8_t> bytes;
    PictureKind kind;
  } cases[] = {
      {{'B', 'M', 0, 0, 0, 0}, PictureKind::Bmp},
      {{0xFF, 0xD8, 0xFF, 0, 0, 0}, PictureKind::Jpeg},
      {{0, 0, 1, 0, 1, 0}, PictureKind::Icon},
      {{0, 0, 2, 0, 3, 0}, PictureKind::Cursor},
      {{0, 0, 1, 0, 0, 0}, PictureKind::None},  // no images
      {{0, 0, 3, 0, 1, 0}, PictureKind::None},
      {{'G', 'I', 'F', '8', '7', 'a'}, PictureKind::Gif},
      {{'G', 'I', 'F', '8', '9', 'a'}, PictureKind::Gif},
      {{'G', 'I', 'F', '8', '8', 'a'}, PictureKind::None},
      {{0x0A, 5, 1, 8, 0, 0}, PictureKind::Pcx8},
      {{0x0A, 6, 1, 8, 0, 0}, PictureKind::None},
      {{0x0A, 3, 1, 1, 0, 0}, PictureKind::Pcx1},
      {{0x0A, 5, 1, 1, 0, 0}, PictureKind::None},
      {{0x0A, 3, 0, 8, 0, 0}, PictureKind::None},
      {{'B', 'M', 0, 0, 0}, PictureKind::None},  // five bytes
      {{'x', 'y', 'z', 0, 0, 0, 0}, PictureKind::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RecognisePicture(c.bytes), c.kind) << "first byte " << int(c.bytes[0]);
  }
  for (const auto& c : cases) {
    if (c.bytes.size() <= 5) {
      EXPECT_FALSE(DecodePixels(c.bytes));
    }
  }
}

TEST(BmpReaderTest, ContactBadgeDecodesWithItsPaletteColours) {
  const auto file = ReadFixture(SB_BADGE_BMP);
  ASSERT_EQ(file.size(), 1078u + 76u * 22u);
  const auto picture = DecodePixels(file);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->kind, PictureKind::Bmp);
  EXPECT_EQ(picture->width, 74);
  EXPECT_EQ(picture->height, 22);
  ASSERT_EQ(picture->pixels.size(), 74u * 22u * 3u);
  // Every pixel against the palette entry its index names in the file.
  int mismatches = 0;
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < 74; ++x) {
      const std::uint8_t index = file[1078 + 76 * y + x];
      const std::vector<int> want = {file[54 + 4 * index], file[55 + 4 * index], file[56 + 4 * index]};
      if (Bgr(*picture, x, y) != want) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(BmpReaderTest, PaletteDepthsAndDirectColour) {
  // Two colours: 0 = blue, 1 = red (BGRA entries).
  const std::vector<std::uint8_t> two = {255, 0, 0, 0, 0, 0, 255, 0};
  // 3 pixels per row, 2 rows; rows padded to 4 bytes.
  const auto one_bit = MakeBmp(3, 2, 1, two, {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0});
  const auto four_bit = MakeBmp(3, 2, 4, two, {0x10, 0x10, 0, 0, 0x01, 0x00, 0, 0});
  const auto eight_bit = MakeBmp(3, 2, 8, two, {1, 0, 1, 0, 0, 1, 0, 0});
  const auto rgb24 = MakeBmp(3, 2, 24, {},
                             {0, 0, 255, 255, 0, 0, 0, 0, 255, 0, 0, 0,
                              255, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0});
  const auto rgb32 = MakeBmp(3, 2, 32, {},
                             {0, 0, 255, 9, 255, 0, 0, 9, 0, 0, 255, 9,
                              255, 0, 0, 9, 0, 0, 255, 9, 255, 0, 0, 9});
  const std::vector<int> red = {0, 0, 255}, blue = {255, 0, 0};
  for (const auto* file : {&one_bit, &four_bit, &eight_bit, &rgb24, &rgb32}) {
    const auto p = DecodePixels(*file);
    ASSERT_TRUE(p) << "bits " << (*file)[28];
    EXPECT_EQ(p->width, 3);
    EXPECT_EQ(p->height, 2);
    // The file's first row is the bottom row: red, blue, red; then blue, red, blue.
    EXPECT_EQ(Bgr(*p, 0, 0), red) << "bits " << (*file)[28];
    EXPECT_EQ(Bgr(*p, 1, 0), blue) << "bits " << (*file)[28];
    EXPECT_EQ(Bgr(*p, 2, 0), red) << "bits " << (*file)[28];
    EXPECT_EQ(Bgr(*p, 0, 1), blue) << "bits " << (*file)[28];
    EXPECT_EQ(Bgr(*p, 1, 1), red) << "bits " << (*file)[28];
  }
}

TEST(BmpReaderTest, NegativeHeightKeepsFileRowOrderSoTheTopComesOutAtTheBottom) {
  const auto p = DecodePixels(MakeBmp(1, -2, 24, {}, {0, 0, 255, 0, 255, 0, 0, 0}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(Bgr(*p, 0, 0), (std::vector<int>{0, 0, 255}));  // the file's first row, at the bottom
  EXPECT_EQ(Bgr(*p, 0, 1), (std::vector<int>{255, 0, 0}));
}

TEST(BmpReaderTest, PixelOffsetSkipsForwardAndIndexBeyondPaletteIsBlack) {
  auto file = MakeBmp(2, 1, 8, {0, 255, 0, 0}, {7, 7, 0, 0, 0, 5, 0, 0});
  Put(file, 10, 54 + 4 + 4, 4);  // pixel data four bytes later: indices 0 and 5
  const auto p = DecodePixels(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(Bgr(*p, 0, 0), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(Bgr(*p, 1, 0), (std::vector<int>{0, 0, 0}));
}

TEST(BmpReaderTest, RefusesWhatItCannotReadWhole) {
  const std::vector<std::uint8_t> one = {0, 0, 0, 0};
  const auto good = MakeBmp(2, 2, 8, one, {0, 0, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(DecodePixels(good));
  auto rle8 = MakeBmp(2, 2, 8, one, {0, 0, 0, 0, 0, 0, 0, 0}, 1);
  auto bits16 = MakeBmp(2, 2, 16, {}, std::vector<std::uint8_t>(8));
  auto short_rows = good;
  short_rows.pop_back();
  auto offset_inside_palette = good;
  Put(offset_inside_palette, 10, 55, 4);
  auto zero_width = good;
  Put(zero_width, 18, 0, 4);
  auto huge = good;
  Put(huge, 18, 0x7FFFFFFF, 4);
  auto palette_past_end = good;
  Put(palette_past_end, 46, 0x40000000, 4);
  auto min_height = good;
  Put(min_height, 22, 0x80000000, 4);
  std::vector<std::uint8_t> headers_only(good.begin(), good.begin() + 40);
  int n = 0;
  for (const auto* file : {&rle8, &bits16, &short_rows, &offset_inside_palette, &zero_width, &huge,
                           &palette_past_end, &min_height, &headers_only}) {
    EXPECT_FALSE(DecodePixels(*file)) << "case " << n++;
  }
}

TEST(JpegReaderTest, ImageMagickFileDecodesToItsSizeAndColours) {
  const auto p = DecodePixels(ReadFixture(kFixtures + "/two-halves.jpg"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, PictureKind::Jpeg);
  EXPECT_EQ(p->width, 16);
  EXPECT_EQ(p->height, 8);
  // Left half red, right half blue, within the codec's loss.
  for (int y : {0, 7}) {
    const auto left = Bgr(*p, 2, y), right = Bgr(*p, 13, y);
    EXPECT_GT(left[2], 200);
    EXPECT_LT(left[0], 60);
    EXPECT_GT(right[0], 200);
    EXPECT_LT(right[2], 60);
  }
}

TEST(JpegReaderTest, GreyIsExpandedToThreeEqualBytes) {
  const auto p = DecodePixels(ReadFixture(kFixtures + "/grey.jpg"));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 6);
  EXPECT_EQ(p->height, 4);
  const auto px = Bgr(*p, 3, 2);
  EXPECT_EQ(px[0], px[1]);
  EXPECT_EQ(px[1], px[2]);
  EXPECT_NEAR(px[0], 128, 4);
}

TEST(JpegReaderTest, DecoderErrorsGiveNoPicture) {
  auto file = ReadFixture(kFixtures + "/two-halves.jpg");
  const std::vector<std::uint8_t> header_cut(file.begin(), file.begin() + 30);
  auto broken_marker = file;
  for (std::size_t i = 0; i + 4 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) broken_marker[i + 4] = 3;  // sample precision 3
  }
  EXPECT_FALSE(DecodePixels(header_cut));
  EXPECT_FALSE(DecodePixels(broken_marker));
  EXPECT_FALSE(DecodePixels(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9, 0, 0}));
}

TEST(GifReaderTest, FirstFrameIntoPaletteBitmap) {
  const auto file = ReadFixture(kFixtures + "/two-rows.gif");
  const auto p = DecodePixels(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, PictureKind::Gif);
  EXPECT_EQ(p->width, 5);
  EXPECT_EQ(p->height, 6);
  EXPECT_EQ(p->pixels.size(), 1064u + 8u * 6u);
  // Green on top, yellow below.
  EXPECT_EQ(PaletteBgr(*p, 0, 0), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(PaletteBgr(*p, 4, 2), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(PaletteBgr(*p, 0, 3), (std::vector<int>{0, 255, 255}));
  EXPECT_EQ(PaletteBgr(*p, 4, 5), (std::vector<int>{0, 255, 255}));
  // Cut inside the header or the colour table: none.
  EXPECT_FALSE(DecodePixels(std::vector<std::uint8_t>(file.begin(), file.begin() + 12)));
  EXPECT_FALSE(DecodePixels(std::vector<std::uint8_t>(file.begin(), file.begin() + 16)));
}

TEST(GifReaderTest, InterlacedRowsLandInPlace) {
  // 1 x 4 picture, rows 0..3 coloured 0..3, sent interlaced: rows 0, 2, 1, 3.
  // Codes (min size 2): clear 4, then 0, 2, 1 in 3 bits; the table reaches 8, so 3 and end 5 in 4.
  std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 4, 0, 0x81, 0, 0};
  const std::uint8_t colours[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  gif.insert(gif.end(), std::begin(colours), std::end(colours));
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 1, 0, 4, 0, 0x40, 2});
  std::uint32_t bits = 0;
  int shift = 0;
  for (int code : {4, 0, 2, 1, 3, 5}) {
    bits |= static_cast<std::uint32_t>(code) << shift;
    shift += shift < 12 ? 3 : 4;
  }
  gif.insert(gif.end(), {3, static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                         static_cast<std::uint8_t>(bits >> 16), 0, 0x3B});
  const auto p = DecodePixels(gif);
  ASSERT_TRUE(p);
  EXPECT_EQ(PaletteBgr(*p, 0, 0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(PaletteBgr(*p, 0, 1), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(PaletteBgr(*p, 0, 2), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(PaletteBgr(*p, 0, 3), (std::vector<int>{255, 0, 0}));
}

TEST(PcxReaderTest, EightBitWithItsPalette) {
  const auto file = ReadFixture(kFixtures + "/two-rows.pcx");
  const auto p = DecodePixels(file);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, PictureKind::Pcx8);
  EXPECT_EQ(p->width, 5);
  EXPECT_EQ(p->height, 6);
  EXPECT_EQ(PaletteBgr(*p, 1, 1), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(PaletteBgr(*p, 3, 4), (std::vector<int>{0, 255, 255}));
  // Without the pixel runs' end the lines are short: none.
  EXPECT_FALSE(DecodePixels(std::vector<std::uint8_t>(file.begin(), file.begin() + 130)));
}

std::vector<std::uint8_t> MakePcx1(int width, int height, int line_bytes, const std::vector<std::uint8_t>& runs) {
  std::vector<std::uint8_t> b(128, 0);
  b[0] = 0x0A;
  b[1] = 3;
  b[2] = 1;
  b[3] = 1;
  Put(b, 8, width - 1, 2);
  Put(b, 10, height - 1, 2);
  b[65] = 1;
  Put(b, 66, line_bytes, 2);
  b.insert(b.end(), runs.begin(), runs.end());
  return b;
}

TEST(PcxReaderTest, OneBitIntoMonochromeRows) {
  // 11 x 2, two bytes a line; a run of 0xFF crossing into the second line, then 0x81.
  const auto p = DecodePixels(MakePcx1(11, 2, 2, {0xC3, 0xFF, 0xC1, 0x81}));
  ASSERT_TRUE(p);
  EXPECT_EQ(p->kind, PictureKind::Pcx1);
  EXPECT_EQ(p->width, 11);
  ASSERT_EQ(p->pixels.size(), 4u);
  // Bits beyond the width cleared.
  EXPECT_EQ(p->pixels, (std::vector<std::uint8_t>{0xFF, 0xE0, 0xFF, 0x80}));
  EXPECT_FALSE(DecodePixels(MakePcx1(11, 2, 2, {0xC3, 0xFF})));  // short
  EXPECT_FALSE(DecodePixels(MakePcx1(17, 2, 2, {0xC4, 0xFF})));  // lines narrower than the width
}

std::vector<std::uint8_t> MakeIconFile(const std::vector<std::array<std::uint8_t, 3>>& entries) {
  // Each entry: width byte, colour count byte, and a 40-byte header image of that width.
  std::vector<std::uint8_t> b(6 + 16 * entries.size(), 0);
  Put(b, 2, 1, 2);
  Put(b, 4, static_cast<std::uint32_t>(entries.size()), 2);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t e = 6 + 16 * i;
    b[e] = entries[i][0];
    b[e + 2] = entries[i][1];
    Put(b, e + 8, 40, 4);
    Put(b, e + 12, static_cast<std::uint32_t>(b.size()), 4);
    const std::size_t at = b.size();
    b.resize(at + 40, 0);
    Put(b, at + 4, entries[i][2], 4);
    Put(b, at + 8, 2 * entries[i][2], 4);
  }
  return b;
}

TEST(IconDirectoryTest, ChoosesThirtyTwoWideWithColoursElseTheLast) {
  const struct {
    std::vector<std::array<std::uint8_t, 3>> entries;
    int width;
  } cases[] = {
      {{{16, 16, 16}, {32, 16, 32}, {48, 16, 48}}, 32},
      {{{32, 15, 31}, {32, 0, 33}, {16, 16, 16}}, 16},  // none qualifies: the last
      {{{32, 255, 32}}, 32},
  };
  for (const auto& c : cases) {
    const auto file = MakeIconFile(c.entries);
    const auto image = ChooseIconImage(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, c.width);
    EXPECT_EQ(image->height, c.width);  // half the header's height
    EXPECT_EQ(image->bytes.size(), 40u);
  }
  auto outside = MakeIconFile({{32, 16, 32}});
  Put(outside, 6 + 12, 1000, 4);
  EXPECT_FALSE(ChooseIconImage(outside));
  auto too_many = MakeIconFile({{32, 16, 32}});
  Put(too_many, 4, 9, 2);
  EXPECT_FALSE(ChooseIconImage(too_many));
}

}  // namespace
}  // namespace pictures
