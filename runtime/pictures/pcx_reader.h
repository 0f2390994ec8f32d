#pragma once
#include <optional>

#include "runtime/pictures/picture_data.h"

namespace pictures {

// Single-plane files only; null for anything it cannot read completely.
std::optional<PixelPicture> DecodePcx8(Bytes data);
std::optional<PixelPicture> DecodePcx1(Bytes data);

}  // namespace pictures
