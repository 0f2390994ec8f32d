// libFuzzer target for the picture readers: any input either decodes into a picture whose
// pixel data has the size its form demands, or gives none; never a crash or a read outside.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "runtime/pictures/icon_directory.h"
#include "runtime/pictures/picture_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pictures::Bytes bytes(data, size);
  if (const auto p = pictures::DecodePixels(bytes)) {
    const std::size_t w = static_cast<std::size_t>(p->width), h = static_cast<std::size_t>(p->height);
    std::size_t expected = 0;
    switch (p->kind) {
      case pictures::PictureKind::Jpeg:
      case pictures::PictureKind::Bmp: expected = w * h * 3; break;
      case pictures::PictureKind::Gif:
      case pictures::PictureKind::Pcx8: expected = 1064 + ((w + 3) & ~std::size_t{3}) * h; break;
      case pictures::PictureKind::Pcx1: expected = (w + 15) / 16 * 2 * h; break;
      default: std::abort();
    }
    if (w == 0 || h == 0 || p->pixels.size() != expected) std::abort();
  }
  if (const auto icon = pictures::ChooseIconImage(bytes)) {
    if (icon->bytes.data() < data || icon->bytes.data() + icon->bytes.size() > data + size) std::abort();
  }
  return 0;
}
