#pragma once
// The decoder the control library's picture-valued properties go through.
#include <memory>
#include <span>

#include "controls/picture.h"

namespace pictures {

// The controls::PictureDecoder: null for bytes that are no picture.
std::unique_ptr<controls::Picture> DecodeControlPicture(std::span<const std::uint8_t> bytes);

// Installs DecodeControlPicture with controls::SetPictureDecoder; the program calls it once
// before loading its first window.
void InstallPictureDecoder();

}  // namespace pictures
