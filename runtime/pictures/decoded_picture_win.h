#pragma once
// A decoded picture the runtime draws on a device context: pixels from the portable readers,
// or an icon handle for icon and cursor files.
#include <windows.h>

#include <memory>

#include "runtime/pictures/picture_data.h"

namespace pictures {

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiDeleter>;

class DecodedPicture {
 public:
  // Null for anything that is no picture; nothing is reported.
  static std::unique_ptr<DecodedPicture> Decode(Bytes data);

  PictureKind Kind() const { return kind_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  HICON Icon() const { return icon_.get(); }

  // Width or height -1 takes the picture's own. A raster operation of 0 or more is one
  // stretched blit; a negative one, -c, draws with colour c transparent.
  void Draw(HDC dc, int x, int y, int width, int height, long raster_operation) const;

  // A bitmap compatible with `dc` holding the picture; null for icons and cursors.
  UniqueBitmap MakeBitmap(HDC dc) const;

 private:
  PictureKind kind_ = PictureKind::None;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  UniqueIcon icon_;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace pictures
