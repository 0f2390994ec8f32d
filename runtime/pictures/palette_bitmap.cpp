#include "runtime/pictures/palette_bitmap.h"

#include <algorithm>

namespace pictures {
namespace {
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

PaletteBitmap::PaletteBitmap(std::int32_t width, std::int32_t height, std::uint8_t fill)
    : width_(width), height_(height), stride_((static_cast<std::size_t>(width) + 3) & ~std::size_t{3}) {
  bytes_.assign(kHeaderBytes + stride_ * height, fill);
  std::fill(bytes_.begin(), bytes_.begin() + kHeaderBytes, 0);
  Put32(bytes_, 0, 40);
  Put32(bytes_, 4, width);
  Put32(bytes_, 8, height);  // positive: bottom-up
  bytes_[12] = 1;            // planes
  bytes_[14] = 8;            // bit count
  Put32(bytes_, 20, static_cast<std::uint32_t>(stride_ * height));
  Put32(bytes_, 32, 256);    // colours used
}

void PaletteBitmap::SetColour(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  std::uint8_t* entry = bytes_.data() + 40 + 4 * index;
  entry[0] = blue;
  entry[1] = green;
  entry[2] = red;
}

std::uint8_t* PaletteBitmap::Row(std::int32_t y) {
  return bytes_.data() + kHeaderBytes + stride_ * static_cast<std::size_t>(height_ - 1 - y);
}

PixelPicture PaletteBitmap::Finish(PictureKind kind) && {
  return PixelPicture{kind, width_, height_, std::move(bytes_)};
}

}  // namespace pictures
