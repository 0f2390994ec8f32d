#include "runtime/pictures/icon_directory.h"

#include <cstring>

namespace pictures {

std::optional<IconImage> ChooseIconImage(Bytes d) {
  if (d.size() < 6) return std::nullopt;
  const std::size_t count = ReadU16(d, 4);
  if (count == 0 || d.size() < 6 + 16 * count) return std::nullopt;
  std::size_t entry = 6 + 16 * (count - 1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t e = 6 + 16 * i;
    if (d[e] == 32 && d[e + 2] > 15) {
      entry = e;
      break;
    }
  }
  const std::uint32_t size = ReadU32(d, entry + 8);
  const std::uint32_t offset = ReadU32(d, entry + 12);
  if (offset > d.size() || size > d.size() - offset || size < 24) return std::nullopt;
  const Bytes image = d.subspan(offset, size);
  if (std::memcmp(image.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
    // A PNG image carries its size in its header chunk, big-endian, without a mask.
    auto be = [&](std::size_t at) {
      return static_cast<std::int32_t>((image[at] << 24) | (image[at + 1] << 16) | (image[at + 2] << 8) | image[at + 3]);
    };
    return IconImage{image, be(16), be(20)};
  }
  return IconImage{image, static_cast<std::int32_t>(ReadU32(image, 4)),
                   static_cast<std::int32_t>(ReadU32(image, 8)) / 2};
}

}  // namespace pictures
