#include "controls/gradient_paint.h"

#include <algorithm>
#include <vector>

#include "controls/gradient.h"

namespace controls {

void PaintGradient(HDC dc, const RECT& whole, const RECT& visible, int mode, std::span<const std::uint32_t> colours,
                   const std::function<void(const RECT&)>& painted) {
  const int width = static_cast<int>(whole.right - whole.left);
  const int height = static_cast<int>(whole.bottom - whole.top);
  // One tile's pixels, handed to the DC as a DIB.
  std::vector<std::uint32_t> pixels(kGradientTile * kGradientTile);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (LONG top = visible.top; top < visible.bottom; top += kGradientTile) {
    for (LONG left = visible.left; left < visible.right; left += kGradientTile) {
      const int tileWidth = static_cast<int>(std::min<LONG>(kGradientTile, visible.right - left));
      const int tileHeight = static_cast<int>(std::min<LONG>(kGradientTile, visible.bottom - top));
      for (int row = 0; row < tileHeight; ++row) {
        for (int column = 0; column < tileWidth; ++column) {
          const std::uint32_t colour =
              GradientColour(mode, width, height, static_cast<int>(left - whole.left) + column,
                             static_cast<int>(top - whole.top) + row, colours);
          // COLORREF is 0x00BBGGRR, a 32-bit DIB pixel 0x00RRGGBB.
          pixels[static_cast<std::size_t>(row * tileWidth + column)] =
              ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
        }
      }
      info.bmiHeader.biWidth = tileWidth;
      info.bmiHeader.biHeight = -tileHeight;
      SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(tileWidth), static_cast<DWORD>(tileHeight), 0, 0, 0,
                        static_cast<UINT>(tileHeight), pixels.data(), &info, DIB_RGB_COLORS);
      if (painted) painted(RECT{left, top, left + tileWidth, top + tileHeight});
    }
  }
}

}  // namespace controls
