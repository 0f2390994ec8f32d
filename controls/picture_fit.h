#pragma once
// Where a picture box draws its picture in each display mode.
#include <cstdint>

namespace controls {

struct PlacedRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const PlacedRect&) const = default;
};

// Mode 0 own size at the top-left, 1 stretched over the client area, 2 fitted and centred
// (scaled down with its aspect kept when it does not fit). Other modes draw as 0.
PlacedRect PlacePicture(std::uint32_t mode, std::int32_t clientWidth, std::int32_t clientHeight,
                        std::int32_t pictureWidth, std::int32_t pictureHeight);

}  // namespace controls
