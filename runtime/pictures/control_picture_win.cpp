#include "runtime/pictures/control_picture_win.h"

#include "runtime/pictures/decoded_picture_win.h"

namespace pictures {
namespace {

class ControlPicture final : public controls::Picture {
 public:
  explicit ControlPicture(std::unique_ptr<DecodedPicture> picture) : picture_(std::move(picture)) {}

  Type GetType() const override {
    switch (picture_->Kind()) {
      case PictureKind::Icon: return Type::Icon;
      case PictureKind::Cursor: return Type::Cursor;
      default: return Type::Bitmap;
    }
  }
  SIZE Size() const override { return {picture_->Width(), picture_->Height()}; }
  void Draw(HDC dc, const RECT& target) const override {
    picture_->Draw(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, SRCCOPY);
  }
  HANDLE ButtonImage() const override {
    if (picture_->Icon()) return picture_->Icon();
    if (!button_bitmap_) {
      const HDC screen = GetDC(nullptr);
      button_bitmap_ = picture_->MakeBitmap(screen);
      ReleaseDC(nullptr, screen);
    }
    return button_bitmap_.get();
  }

 private:
  std::unique_ptr<DecodedPicture> picture_;
  mutable UniqueBitmap button_bitmap_;  // made at the first request, kept for the button
};

}  // namespace

std::unique_ptr<controls::Picture> DecodeControlPicture(std::span<const std::uint8_t> bytes) {
  auto picture = DecodedPicture::Decode(bytes);
  if (!picture) return nullptr;
  return std::make_unique<ControlPicture>(std::move(picture));
}

void InstallPictureDecoder() { controls::SetPictureDecoder(&DecodeControlPicture); }

}  // namespace pictures
