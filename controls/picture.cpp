#include "controls/picture.h"

namespace controls {
namespace {
PictureDecoder installed = nullptr;
}

PictureDecoder SetPictureDecoder(PictureDecoder decoder) {
  const PictureDecoder previous = installed;
  installed = decoder;
  return previous;
}

std::unique_ptr<Picture> DecodePicture(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || !installed) return nullptr;
  return installed(bytes);
}

}  // namespace controls
