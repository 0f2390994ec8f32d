#pragma once
// Recognising picture bytes and the decoded forms the portable readers produce.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pictures {

using Bytes = std::span<const std::uint8_t>;

enum class PictureKind : std::int32_t {
  None = 0,
  Jpeg = 1,
  Bmp = 2,
  Icon = 3,
  Cursor = 4,
  Gif = 5,
  Pcx8 = 6,
  Pcx1 = 7,
};

// From the first bytes; five bytes or fewer are no picture.
PictureKind RecognisePicture(Bytes data);

// Jpeg, Bmp: width * height blue-green-red pixels, rows bottom-up, unpadded.
// Gif, Pcx8: a 40-byte BITMAPINFOHEADER, 256 palette entries, then 8-bit rows bottom-up,
//   each padded to 4 bytes (a packed device-independent bitmap).
// Pcx1: monochrome bitmap bits, rows top-down, each padded to 2 bytes.
struct PixelPicture {
  PictureKind kind = PictureKind::None;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;
};

// Decodes every kind but icons and cursors, which only the platform can make.
std::optional<PixelPicture> DecodePixels(Bytes data);

// Large headers over little data must not make the readers allocate without bound.
inline constexpr std::int64_t kMaxPixels = std::int64_t{1} << 25;

// Little-endian reads; the caller checks the range.
inline std::uint32_t ReadU16(Bytes d, std::size_t at) { return d[at] | (d[at + 1] << 8); }
inline std::uint32_t ReadU32(Bytes d, std::size_t at) {
  return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (std::uint32_t{d[at + 3]} << 24);
}

}  // namespace pictures
