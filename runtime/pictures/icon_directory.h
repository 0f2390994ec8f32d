#pragma once
// Choosing the image of an icon or cursor file that the platform turns into an icon handle.
#include <optional>

#include "runtime/pictures/picture_data.h"

namespace pictures {

struct IconImage {
  Bytes bytes;  // within the file's data
  std::int32_t width;
  std::int32_t height;
};

// The first entry 32 wide with a colour count above 15, else the last; its size from the
// image's own header (half the bitmap height, which holds the mask as well). Null when the
// directory or the image lies outside the data.
std::optional<IconImage> ChooseIconImage(Bytes data);

}  // namespace pictures
