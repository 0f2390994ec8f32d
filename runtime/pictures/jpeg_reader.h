#pragma once
#include <optional>

#include "runtime/pictures/picture_data.h"

namespace pictures {

// Null for anything it cannot read completely.
std::optional<PixelPicture> DecodeJpeg(Bytes data);

}  // namespace pictures
