#pragma once
// Decoded pictures. `Image` loads any format GDI+ reads; `Bitmap` adds pixel access and the
// ways of making one from scratch.
#include <objidl.h>

#include <cstdint>
#include <span>

#include "draw/gdiplus_commands.h"
#include "draw/native_object.h"
#include "runtime/values/text_value.h"

namespace draw {

class Image : public NativeObject<GpImage, commands::kDisposeImage> {
 public:
  bool LoadFromFile(runtime::TextRef path, bool icm = false);
  bool LoadFromStream(IStream* stream, bool icm = false);
  // Decodes a copy of the bytes (JPEG, PNG, BMP...).
  bool LoadFromBytes(std::span<const std::uint8_t> bytes);

  // 0 when there is no picture.
  UINT Width() const;
  UINT Height() const;
  bool RotateFlip(int rotateFlipType);
  bool SaveToStream(IStream* stream, const CLSID& encoder) const;
};

class Bitmap : public Image {
 public:
  bool CreateFromFile(runtime::TextRef path, bool icm = false);
  bool CreateFromStream(IStream* stream, bool icm = false);
  bool CreateFromBytes(std::span<const std::uint8_t> bytes);
  // scan0 null: GDI+ keeps the pixels itself.
  bool Create(int width, int height, int pixelFormat = kPixelFormat32bppArgb, int stride = 0, BYTE* scan0 = nullptr);
  bool CreateFromIcon(HICON icon);

  // A new GDI bitmap the caller owns; null on failure.
  HBITMAP MakeHbitmap(Argb background) const;
  bool GetPixel(int x, int y, Argb& colour) const;
};

// The built-in encoder for "image/png".
const CLSID& PngEncoder();

}  // namespace draw
