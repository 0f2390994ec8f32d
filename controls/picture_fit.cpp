#include "controls/picture_fit.h"

namespace controls {

PlacedRect PlacePicture(std::uint32_t mode, std::int32_t clientWidth, std::int32_t clientHeight,
                        std::int32_t pictureWidth, std::int32_t pictureHeight) {
  if (mode == 1) return {0, 0, clientWidth, clientHeight};
  if (mode != 2 || pictureWidth <= 0 || pictureHeight <= 0) return {0, 0, pictureWidth, pictureHeight};
  std::int32_t width = pictureWidth;
  std::int32_t height = pictureHeight;
  if (clientWidth < pictureWidth || clientHeight < pictureHeight) {
    // The smaller ratio, compared without rounding: cw/pw < ch/ph.
    const std::int64_t byWidth = static_cast<std::int64_t>(clientWidth) * pictureHeight;
    const std::int64_t byHeight = static_cast<std::int64_t>(clientHeight) * pictureWidth;
    if (byWidth <= byHeight) {
      width = clientWidth;
      height = static_cast<std::int32_t>(byWidth / pictureWidth);
    } else {
      height = clientHeight;
      width = static_cast<std::int32_t>(byHeight / pictureHeight);
    }
  }
  return {(clientWidth - width) / 2, (clientHeight - height) / 2, width, height};
}

}  // namespace controls
