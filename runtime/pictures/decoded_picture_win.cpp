#include "runtime/pictures/decoded_picture_win.h"

#include <algorithm>

#include "controls/win_support.h"
#include "runtime/pictures/icon_directory.h"

namespace pictures {
namespace {

using controls::MemoryDc;

int StretchModeForDisplay() {
  const HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits > 16 ? HALFTONE : COLORONCOLOR;
}

}  // namespace

std::unique_ptr<DecodedPicture> DecodedPicture::Decode(Bytes data) {
  auto picture = std::make_unique<DecodedPicture>();
  const PictureKind kind = RecognisePicture(data);
  if (kind == PictureKind::Icon || kind == PictureKind::Cursor) {
    const auto image = ChooseIconImage(data);
    if (!image) return nullptr;
    const HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image->bytes.data()),
                                                static_cast<DWORD>(image->bytes.size()), TRUE,
                                                0x00030000, image->width, image->height, 0);
    if (!icon) return nullptr;
    picture->icon_.reset(icon);
    picture->kind_ = kind;
    picture->width_ = image->width;
    picture->height_ = image->height;
    return picture;
  }
  auto pixels = DecodePixels(data);
  if (!pixels) return nullptr;
  picture->kind_ = pixels->kind;
  picture->width_ = pixels->width;
  picture->height_ = pixels->height;
  picture->pixels_ = std::move(pixels->pixels);
  return picture;
}

UniqueBitmap DecodedPicture::MakeBitmap(HDC dc) const {
  switch (kind_) {
    case PictureKind::Jpeg:
    case PictureKind::Bmp: {
      // The platform wants rows padded to 4 bytes.
      const std::size_t row = static_cast<std::size_t>(width_) * 3;
      const std::size_t stride = (row + 3) & ~std::size_t{3};
      std::vector<std::uint8_t> padded(stride * height_);
      for (std::int32_t y = 0; y < height_; ++y)
        std::copy_n(pixels_.data() + row * y, row, padded.data() + stride * y);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = width_;
      info.bmiHeader.biHeight = height_;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 24;
      return UniqueBitmap(CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, padded.data(), &info, DIB_RGB_COLORS));
    }
    case PictureKind::Gif:
    case PictureKind::Pcx8: {
      const auto* info = reinterpret_cast<const BITMAPINFO*>(pixels_.data());
      return UniqueBitmap(CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, pixels_.data() + 40 + 1024, info,
                                         DIB_RGB_COLORS));
    }
    case PictureKind::Pcx1:
      return UniqueBitmap(CreateBitmap(width_, height_, 1, 1, pixels_.data()));
    default:
      return nullptr;
  }
}

void DecodedPicture::Draw(HDC dc, int x, int y, int width, int height, long raster_operation) const {
  if (width == -1) width = width_;
  if (height == -1) height = height_;
  if (kind_ == PictureKind::Icon || kind_ == PictureKind::Cursor) {
    DrawIconEx(dc, x, y, icon_.get(), width, height, 0, nullptr, DI_NORMAL);
    return;
  }
  const UniqueBitmap bitmap = MakeBitmap(dc);
  if (!bitmap) return;
  MemoryDc source(dc);
  source.Select(bitmap.get());
  const int old_mode = SetStretchBltMode(dc, StretchModeForDisplay());
  POINT old_origin{};
  SetBrushOrgEx(dc, 0, 0, &old_origin);
  if (raster_operation >= 0) {
    StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, width_, height_,
               static_cast<DWORD>(raster_operation));
  } else {
    // The mask is white where the picture has the transparent colour; the picture is xored in,
    // cleared to black outside the mask, and xored again, which leaves the target under the mask.
    const auto transparent = static_cast<COLORREF>(-raster_operation);
    const UniqueBitmap mask_bitmap(CreateBitmap(width_, height_, 1, 1, nullptr));
    MemoryDc mask(dc);
    mask.Select(mask_bitmap.get());
    const COLORREF old_source_back = SetBkColor(source.Get(), transparent);
    BitBlt(mask.Get(), 0, 0, width_, height_, source.Get(), 0, 0, SRCCOPY);
    SetBkColor(source.Get(), old_source_back);
    const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF old_back = SetBkColor(dc, RGB(255, 255, 255));
    StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, width_, height_, SRCINVERT);
    StretchBlt(dc, x, y, width, height, mask.Get(), 0, 0, width_, height_, SRCAND);
    StretchBlt(dc, x, y, width, height, source.Get(), 0, 0, width_, height_, SRCINVERT);
    SetTextColor(dc, old_text);
    SetBkColor(dc, old_back);
  }
  SetBrushOrgEx(dc, old_origin.x, old_origin.y, nullptr);
  SetStretchBltMode(dc, old_mode);
}

}  // namespace pictures
