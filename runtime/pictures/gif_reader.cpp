#include "runtime/pictures/gif_reader.h"

#include <algorithm>
#include <array>

#include "runtime/pictures/palette_bitmap.h"

namespace pictures {
namespace {

// The image data's sub-blocks, read as one little-endian bit stream.
class CodeReader {
 public:
  CodeReader(Bytes d, std::size_t at) : d_(d), at_(at) {}

  // -1 at the end of the data.
  int Read(int bits) {
    while (held_ < bits) {
      if (left_ == 0) {
        if (at_ >= d_.size() || d_[at_] == 0) return -1;
        left_ = d_[at_++];
      }
      if (at_ >= d_.size()) return -1;
      buffer_ |= std::uint32_t{d_[at_++]} << held_;
      held_ += 8;
      --left_;
    }
    const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    held_ -= bits;
    return code;
  }

 private:
  Bytes d_;
  std::size_t at_;
  std::size_t left_ = 0;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
};

// Skips sub-blocks up to their terminator; false when the data ends first.
bool SkipBlocks(Bytes d, std::size_t& at) {
  while (at < d.size()) {
    const std::size_t length = d[at++];
    if (length == 0) return true;
    at += length;
  }
  return false;
}

void ReadColours(PaletteBitmap& out, Bytes d, std::size_t at, int count) {
  for (int i = 0; i < count; ++i) out.SetColour(i, d[at + 3 * i], d[at + 3 * i + 1], d[at + 3 * i + 2]);
}

// Row order of an interlaced image: every 8th from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::int32_t InterlacedRow(std::int32_t n, std::int32_t height) {
  static constexpr std::int32_t kStart[4] = {0, 4, 2, 1};
  static constexpr std::int32_t kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    const std::int32_t rows = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= std::max(rows, 0);
  }
  return height;
}

}  // namespace

// The first image, on a canvas of the logical screen filled with the background colour; a
// transparent index leaves the background showing. A truncated image keeps what was decoded.
std::optional<PixelPicture> DecodeGif(Bytes d) {
  if (d.size() < 13) return std::nullopt;
  std::int32_t width = static_cast<std::int32_t>(ReadU16(d, 6));
  std::int32_t height = static_cast<std::int32_t>(ReadU16(d, 8));
  const std::uint8_t flags = d[10];
  const std::uint8_t background = d[11];
  std::size_t at = 13;
  std::size_t global_table = 0;
  int global_count = 0;
  if (flags & 0x80) {
    global_count = 2 << (flags & 7);
    global_table = at;
    at += 3 * static_cast<std::size_t>(global_count);
    if (at > d.size()) return std::nullopt;
  }

  int transparent = -1;
  while (true) {
    if (at >= d.size()) return std::nullopt;
    const std::uint8_t introducer = d[at++];
    if (introducer == 0x2C) break;
    if (introducer != 0x21 || at >= d.size()) return std::nullopt;  // trailer or junk before any image
    const std::uint8_t label = d[at++];
    if (label == 0xF9 && at + 5 < d.size() && d[at] >= 4) {
      transparent = (d[at + 1] & 1) ? d[at + 4] : -1;
    }
    if (!SkipBlocks(d, at)) return std::nullopt;
  }

  if (at + 9 > d.size()) return std::nullopt;
  const std::int32_t left = static_cast<std::int32_t>(ReadU16(d, at));
  const std::int32_t top = static_cast<std::int32_t>(ReadU16(d, at + 2));
  const std::int32_t frame_width = static_cast<std::int32_t>(ReadU16(d, at + 4));
  const std::int32_t frame_height = static_cast<std::int32_t>(ReadU16(d, at + 6));
  const std::uint8_t frame_flags = d[at + 8];
  at += 9;
  if (width == 0 || height == 0) {
    width = left + frame_width;
    height = top + frame_height;
  }
  if (width == 0 || height == 0 || std::int64_t{width} * height > kMaxPixels) return std::nullopt;

  PaletteBitmap out(width, height, global_count > 0 ? background : 0);
  if (global_count > 0) ReadColours(out, d, global_table, global_count);
  if (frame_flags & 0x80) {
    const int count = 2 << (frame_flags & 7);
    if (at + 3 * static_cast<std::size_t>(count) > d.size()) return std::nullopt;
    ReadColours(out, d, at, count);
    at += 3 * static_cast<std::size_t>(count);
  } else if (global_count == 0) {
    for (int i = 0; i < 256; ++i) out.SetColour(i, i, i, i);
  }
  if (at >= d.size()) return std::nullopt;
  const int min_size = d[at++];
  if (min_size < 2 || min_size > 8) return std::nullopt;

  // LZW: each code is a prefix code plus one byte; strings are unwound through `stack`.
  const int clear = 1 << min_size;
  const int end = clear + 1;
  std::array<std::uint16_t, 4096> prefix{};
  std::array<std::uint8_t, 4096> suffix{};
  std::array<std::uint8_t, 4096> first{};
  std::array<std::uint8_t, 4097> stack{};
  for (int i = 0; i < clear; ++i) suffix[i] = first[i] = static_cast<std::uint8_t>(i);

  CodeReader codes(d, at);
  int size = min_size + 1;
  int next = end + 1;
  int previous = -1;
  const std::int64_t total = std::int64_t{frame_width} * frame_height;
  std::int64_t written = 0;
  const bool interlaced = frame_flags & 0x40;
  auto put = [&](std::uint8_t index) {
    const std::int32_t x = static_cast<std::int32_t>(written % frame_width);
    const std::int32_t n = static_cast<std::int32_t>(written / frame_width);
    const std::int32_t y = interlaced ? InterlacedRow(n, frame_height) : n;
    ++written;
    if (index == transparent) return;
    const std::int32_t cx = left + x, cy = top + y;
    if (cx < width && cy < height) out.Row(cy)[cx] = index;
  };

  while (written < total) {
    const int code = codes.Read(size);
    if (code < 0 || code == end) break;
    if (code == clear) {
      size = min_size + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    int depth = 0;
    int walk = code;
    if (previous < 0) {
      if (code >= clear) break;  // the first code after a clear must be a plain colour
    } else if (code >= next) {
      if (code > next) break;
      stack[depth++] = first[previous];  // the string not yet in the table: previous + its first
      walk = previous;
    }
    while (walk >= clear) {
      stack[depth++] = suffix[walk];
      walk = prefix[walk];
    }
    stack[depth++] = static_cast<std::uint8_t>(walk);
    if (previous >= 0 && next < 4096) {
      prefix[next] = static_cast<std::uint16_t>(previous);
      suffix[next] = static_cast<std::uint8_t>(walk);
      first[next] = first[previous];
      ++next;
      if (next == (1 << size) && size < 12) ++size;
    }
    if (previous < 0) first[code] = static_cast<std::uint8_t>(code);
    previous = code;
    while (depth > 0 && written < total) put(stack[--depth]);
  }
  return std::move(out).Finish(PictureKind::Gif);
}

}  // namespace pictures
