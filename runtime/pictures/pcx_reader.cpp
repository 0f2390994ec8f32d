#include "runtime/pictures/pcx_reader.h"

#include <algorithm>

#include "runtime/pictures/palette_bitmap.h"

namespace pictures {
namespace {

struct PcxHeader {
  std::int32_t width;
  std::int32_t height;
  std::size_t line_bytes;
};

std::optional<PcxHeader> ReadHeader(Bytes d, std::size_t min_line_bytes_per_8_pixels) {
  if (d.size() < 128 || d[65] != 1) return std::nullopt;  // one plane only
  const std::uint32_t x0 = ReadU16(d, 4), y0 = ReadU16(d, 6), x1 = ReadU16(d, 8), y1 = ReadU16(d, 10);
  if (x1 < x0 || y1 < y0) return std::nullopt;
  PcxHeader h{static_cast<std::int32_t>(x1 - x0 + 1), static_cast<std::int32_t>(y1 - y0 + 1), ReadU16(d, 66)};
  const std::size_t needed = min_line_bytes_per_8_pixels == 8 ? h.width : (h.width + 7) / 8;
  if (h.line_bytes < needed || std::int64_t{h.width} * h.height > kMaxPixels) return std::nullopt;
  return h;
}

// Run-length lines from byte 128 up to `end`; runs may cross lines. Empty when the data ends first.
std::vector<std::uint8_t> Unpack(Bytes d, std::size_t end, std::size_t count) {
  // A run byte pair gives at most 63 bytes: refuse sizes the data cannot hold before allocating.
  if (count / 63 > end) return {};
  std::vector<std::uint8_t> out;
  out.reserve(count);
  std::size_t at = 128;
  while (out.size() < count) {
    if (at >= end) return {};
    std::uint8_t b = d[at++];
    std::size_t run = 1;
    if ((b & 0xC0) == 0xC0) {
      run = b & 0x3F;
      if (at >= end) return {};
      b = d[at++];
    }
    out.insert(out.end(), std::min(run, count - out.size()), b);
  }
  return out;
}

}  // namespace

std::optional<PixelPicture> DecodePcx8(Bytes d) {
  const auto h = ReadHeader(d, 8);
  if (!h) return std::nullopt;
  // The 256-colour palette: 0x0C and 768 bytes at the end; without it, greys.
  std::size_t end = d.size();
  const bool has_palette = d.size() >= 128 + 769 && d[d.size() - 769] == 0x0C;
  if (has_palette) end -= 769;
  const std::vector<std::uint8_t> lines = Unpack(d, end, h->line_bytes * h->height);
  if (lines.empty()) return std::nullopt;

  PaletteBitmap out(h->width, h->height, 0);
  for (int i = 0; i < 256; ++i) {
    if (has_palette) {
      const std::size_t e = end + 1 + 3 * i;
      out.SetColour(i, d[e], d[e + 1], d[e + 2]);
    } else {
      out.SetColour(i, i, i, i);
    }
  }
  for (std::int32_t y = 0; y < h->height; ++y)
    std::copy_n(lines.data() + h->line_bytes * y, h->width, out.Row(y));
  return std::move(out).Finish(PictureKind::Pcx8);
}

std::optional<PixelPicture> DecodePcx1(Bytes d) {
  const auto h = ReadHeader(d, 1);
  if (!h) return std::nullopt;
  const std::vector<std::uint8_t> lines = Unpack(d, d.size(), h->line_bytes * h->height);
  if (lines.empty()) return std::nullopt;

  // Set bits are white, as in a monochrome bitmap; bits beyond the width are cleared.
  const std::size_t stride = (static_cast<std::size_t>(h->width) + 15) / 16 * 2;
  const std::size_t used = (static_cast<std::size_t>(h->width) + 7) / 8;
  PixelPicture out{PictureKind::Pcx1, h->width, h->height, std::vector<std::uint8_t>(stride * h->height, 0)};
  for (std::int32_t y = 0; y < h->height; ++y) {
    std::uint8_t* row = out.pixels.data() + stride * y;
    std::copy_n(lines.data() + h->line_bytes * y, used, row);
    if (h->width % 8) row[used - 1] &= static_cast<std::uint8_t>(0xFF << (8 - h->width % 8));
  }
  return out;
}

}  // namespace pictures
