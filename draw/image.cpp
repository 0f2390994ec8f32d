#include "draw/image.h"

#include "draw/memory_stream.h"
#include "draw/wide_text.h"

namespace draw {

bool Image::LoadFromFile(runtime::TextRef path, bool icm) {
  const std::wstring wide = Widen(path);
  return Create(icm ? commands::kLoadImageFromFileIcm : commands::kLoadImageFromFile, wide.c_str());
}

bool Image::LoadFromStream(IStream* stream, bool icm) {
  return Create(icm ? commands::kLoadImageFromStreamIcm : commands::kLoadImageFromStream, stream);
}

bool Image::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  MemoryStream stream(bytes);
  if (!stream) {
    Delete();
    return Record(3);  // OutOfMemory
  }
  return LoadFromStream(stream.Get());
}

UINT Image::Width() const {
  UINT value = 0;
  return Call(commands::kGetImageWidth, &value) ? value : 0;
}

UINT Image::Height() const {
  UINT value = 0;
  return Call(commands::kGetImageHeight, &value) ? value : 0;
}

bool Image::RotateFlip(int type) { return Call(commands::kImageRotateFlip, type); }

bool Image::SaveToStream(IStream* stream, const CLSID& encoder) const {
  return Call(commands::kSaveImageToStream, stream, &encoder, static_cast<const EncoderParameters*>(nullptr));
}

bool Bitmap::CreateFromFile(runtime::TextRef path, bool icm) {
  const std::wstring wide = Widen(path);
  return NativeObject::Create(icm ? commands::kCreateBitmapFromFileIcm : commands::kCreateBitmapFromFile, wide.c_str());
}

bool Bitmap::CreateFromStream(IStream* stream, bool icm) {
  return NativeObject::Create(icm ? commands::kCreateBitmapFromStreamIcm : commands::kCreateBitmapFromStream, stream);
}

bool Bitmap::CreateFromBytes(std::span<const std::uint8_t> bytes) {
  MemoryStream stream(bytes);
  if (!stream) {
    Delete();
    return Record(3);
  }
  return CreateFromStream(stream.Get());
}

bool Bitmap::Create(int width, int height, int pixelFormat, int stride, BYTE* scan0) {
  return NativeObject::Create(commands::kCreateBitmapFromScan0, width, height, stride, pixelFormat, scan0);
}

bool Bitmap::CreateFromIcon(HICON icon) { return NativeObject::Create(commands::kCreateBitmapFromHicon, icon); }

HBITMAP Bitmap::MakeHbitmap(Argb background) const {
  HBITMAP bitmap = nullptr;
  return Call(commands::kCreateHbitmapFromBitmap, &bitmap, background) ? bitmap : nullptr;
}

bool Bitmap::GetPixel(int x, int y, Argb& colour) const { return Call(commands::kBitmapGetPixel, x, y, &colour); }

const CLSID& PngEncoder() {
  // {557CF406-1A04-11D3-9A73-0000F81EF32E}
  static const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  return png;
}

}  // namespace draw
