#include "skin/gdi_handles.h"

namespace skin {

Bitmap CreateArgbBitmap(int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width > 0 ? width : 1;
  info.bmiHeader.biHeight = -(height > 0 ? height : 1);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* pixels = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (bits) *bits = static_cast<std::uint32_t*>(pixels);
  return bitmap;
}

OffscreenSurface::OffscreenSurface(int w, int h) : dc(nullptr), width(w), height(h) {
  bitmap = CreateArgbBitmap(w, h, &bits);
  dc.Select(bitmap.Get());
}

}  // namespace skin
