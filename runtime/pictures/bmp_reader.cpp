#include "runtime/pictures/bmp_reader.h"

#include <array>
#include <cstdlib>

namespace pictures {

std::optional<PixelPicture> DecodeBmp(Bytes d) {
  if (d.size() < 54) return std::nullopt;
  const std::uint32_t data_offset = ReadU32(d, 10);
  const std::uint32_t info_size = ReadU32(d, 14);
  const auto raw_width = static_cast<std::int32_t>(ReadU32(d, 18));
  const auto raw_height = static_cast<std::int32_t>(ReadU32(d, 22));
  const std::uint32_t bits = ReadU16(d, 28);
  if (ReadU32(d, 30) != 0) return std::nullopt;  // compressed
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  if (info_size < 40 || raw_width == INT32_MIN || raw_height == INT32_MIN) return std::nullopt;
  const std::int64_t width = std::abs(raw_width);
  const std::int64_t height = std::abs(raw_height);
  if (width == 0 || height == 0 || width * height > kMaxPixels) return std::nullopt;

  // The palette follows the information header, whatever its version.
  std::size_t at = 14 + std::size_t{info_size};
  std::array<std::uint8_t, 3 * 256> palette{};  // red, green, blue; missing entries black
  if (bits <= 8) {
    std::uint64_t count = ReadU32(d, 46);
    if (count == 0) count = std::uint64_t{1} << bits;
    if (at > d.size() || count > (d.size() - at) / 4) return std::nullopt;
    for (std::uint64_t i = 0; i < count && i < 256; ++i) {
      const std::size_t e = at + 4 * i;
      palette[3 * i] = d[e + 2];
      palette[3 * i + 1] = d[e + 1];
      palette[3 * i + 2] = d[e];
    }
    at += 4 * count;
  }
  if (at > data_offset) return std::nullopt;
  at = data_offset;

  const std::uint64_t row_bytes = ((width * bits + 31) / 32) * 4;
  if (at > d.size() || row_bytes * height > d.size() - at) return std::nullopt;

  // Rows in file order, blue-green-red: the file's first row is the output's bottom row, so a
  // top-down file comes out upside down, as the format's older readers show it.
  PixelPicture out{PictureKind::Bmp, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  out.pixels.resize(static_cast<std::size_t>(width * height * 3));
  std::uint8_t* o = out.pixels.data();
  for (std::int64_t y = 0; y < height; ++y, at += row_bytes) {
    const std::uint8_t* row = d.data() + at;
    for (std::int64_t x = 0; x < width; ++x, o += 3) {
      if (bits >= 24) {
        const std::uint8_t* p = row + x * (bits / 8);
        o[0] = p[0];
        o[1] = p[1];
        o[2] = p[2];
        continue;
      }
      const std::int64_t bit = x * bits;
      const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
      const unsigned index = (row[bit / 8] >> shift) & ((1u << bits) - 1);
      o[0] = palette[3 * index + 2];
      o[1] = palette[3 * index + 1];
      o[2] = palette[3 * index];
    }
  }
  return out;
}

}  // namespace pictures
