#include "runtime/pictures/picture_data.h"

#include <cstring>

#include "runtime/pictures/bmp_reader.h"
#include "runtime/pictures/gif_reader.h"
#include "runtime/pictures/jpeg_reader.h"
#include "runtime/pictures/pcx_reader.h"

namespace pictures {

PictureKind RecognisePicture(Bytes d) {
  if (d.size() <= 5) return PictureKind::None;
  if (d[0] == 'B' && d[1] == 'M') return PictureKind::Bmp;
  if (d[0] == 0xFF && d[1] == 0xD8) return PictureKind::Jpeg;
  if (ReadU16(d, 0) == 0 && ReadU16(d, 4) != 0) {
    if (ReadU16(d, 2) == 1) return PictureKind::Icon;
    if (ReadU16(d, 2) == 2) return PictureKind::Cursor;
  }
  if (std::memcmp(d.data(), "GIF87a", 6) == 0 || std::memcmp(d.data(), "GIF89a", 6) == 0)
    return PictureKind::Gif;
  if (d[0] == 0x0A && d[2] == 1) {
    if (d[1] <= 5 && d[3] == 8) return PictureKind::Pcx8;
    if (d[1] == 3 && d[3] == 1) return PictureKind::Pcx1;
  }
  return PictureKind::None;
}

std::optional<PixelPicture> DecodePixels(Bytes data) {
  switch (RecognisePicture(data)) {
    case PictureKind::Bmp: return DecodeBmp(data);
    case PictureKind::Jpeg: return DecodeJpeg(data);
    case PictureKind::Gif: return DecodeGif(data);
    case PictureKind::Pcx8: return DecodePcx8(data);
    case PictureKind::Pcx1: return DecodePcx1(data);
    default: return std::nullopt;
  }
}

}  // namespace pictures
