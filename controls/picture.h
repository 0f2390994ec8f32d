#pragma once
// A decoded picture as the kinds show it. Decoding picture bytes belongs to the runtime, which
// installs its decoder here; until one is installed every picture stays empty.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>

namespace controls {

class Picture {
 public:
  enum class Type { Bitmap, Icon, Cursor };

  virtual ~Picture() = default;
  virtual Type GetType() const = 0;
  virtual SIZE Size() const = 0;
  // Draws the whole picture into `target`, scaled to it.
  virtual void Draw(HDC dc, const RECT& target) const = 0;
  // An HBITMAP for Bitmap, an HICON otherwise, for BM_SETIMAGE; owned by the picture.
  virtual HANDLE ButtonImage() const = 0;
};

// Null for bytes it cannot decode.
using PictureDecoder = std::unique_ptr<Picture> (*)(std::span<const std::uint8_t> bytes);

// Returns the decoder it replaces; null removes it.
PictureDecoder SetPictureDecoder(PictureDecoder decoder);
// Null for empty bytes, no decoder, or bytes the decoder refuses.
std::unique_ptr<Picture> DecodePicture(std::span<const std::uint8_t> bytes);

}  // namespace controls
