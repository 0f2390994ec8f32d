#include "assets/carried_pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <span>

namespace assets {
namespace {

struct Size {
  int width, height;
  bool operator==(const Size&) const = default;
};

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[at + i];
  return value;
}

// Size from the IHDR of a 32-bit RGBA PNG (colour type 6, depth 8); none otherwise.
std::optional<Size> RgbaPngSize(std::span<const std::uint8_t> png) {
  const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (png.size() < 33 || !std::equal(std::begin(signature), std::end(signature), png.begin())) return {};
  if (BigEndian(png, 12, 4) != 0x49484452 || png[24] != 8 || png[25] != 6) return {};
  return Size{static_cast<int>(BigEndian(png, 16, 4)), static_cast<int>(BigEndian(png, 20, 4))};
}

// Size from a JPEG's progressive frame header (SOF2); none for other frames.
std::optional<Size> ProgressiveJpegSize(std::span<const std::uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return {};
  std::size_t at = 2;
  while (at + 9 < jpeg.size() && jpeg[at] == 0xFF) {
    const std::uint8_t marker = jpeg[at + 1];
    if (marker == 0xC2) return Size{static_cast<int>(BigEndian(jpeg, at + 7, 2)), static_cast<int>(BigEndian(jpeg, at + 5, 2))};
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) return {};
    at += 2 + BigEndian(jpeg, at + 2, 2);
  }
  return {};
}

TEST(CarriedPictures, BackgroundIsAProgressiveJpegOfTheFrameSize) {
  EXPECT_EQ(ProgressiveJpegSize(Carried(Picture::kBackground)), (Size{472, 600}));
}

TEST(CarriedPictures, PngsHaveAlphaAndTheirSizes) {
  const struct {
    Picture picture;
    Size size;
  } cases[] = {
      {Picture::kHelp, {26, 18}},     {Picture::kMenu, {26, 18}},      {Picture::kMinimize, {26, 18}},
      {Picture::kMaximize, {26, 18}}, {Picture::kRestore, {26, 18}},   {Picture::kClose, {38, 18}},
      {Picture::kCheckOff, {13, 13}}, {Picture::kCheckOn, {13, 13}},   {Picture::kArrowDown, {7, 4}},
      {Picture::kArrowUp, {7, 4}},    {Picture::kArrowLeft, {4, 7}},   {Picture::kArrowRight, {4, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.picture));
    EXPECT_EQ(RgbaPngSize(Carried(c.picture)), c.size);
  }
}

}  // namespace
}  // namespace assets
