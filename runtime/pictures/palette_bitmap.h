#pragma once
// The packed 8-bit device-independent bitmap the GIF and PCX readers fill.
#include <cstdint>

#include "runtime/pictures/picture_data.h"

namespace pictures {

class PaletteBitmap {
 public:
  // Pixels start as index `fill`; width * height must be within kMaxPixels.
  PaletteBitmap(std::int32_t width, std::int32_t height, std::uint8_t fill);

  void SetColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Row 0 is the top of the picture.
  std::uint8_t* Row(std::int32_t y);
  PixelPicture Finish(PictureKind kind) &&;

  static constexpr std::size_t kHeaderBytes = 40 + 1024;

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::size_t stride_;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace pictures
