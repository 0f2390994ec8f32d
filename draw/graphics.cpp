#include "draw/graphics.h"

#include <string>

#include "draw/wide_text.h"

namespace draw {

bool Graphics::CreateFromDc(HDC dc, HANDLE device) {
  if (device) return Create(commands::kCreateFromHdc2, dc, device);
  return Create(commands::kCreateFromHdc, dc);
}

bool Graphics::CreateOnImage(const Image& image) { return Create(commands::kGetImageGraphicsContext, image.Native()); }

bool Graphics::SetCompositingQuality(CompositingQuality q) { return Call(commands::kSetCompositingQuality, static_cast<int>(q)); }
bool Graphics::SetInterpolationMode(InterpolationMode m) { return Call(commands::kSetInterpolationMode, static_cast<int>(m)); }
bool Graphics::SetSmoothingMode(SmoothingMode m) { return Call(commands::kSetSmoothingMode, static_cast<int>(m)); }
bool Graphics::SetPixelOffsetMode(PixelOffsetMode m) { return Call(commands::kSetPixelOffsetMode, static_cast<int>(m)); }

bool Graphics::DrawLine(const Pen& pen, Real x1, Real y1, Real x2, Real y2) {
  return Call(commands::kDrawLine, pen.Native(), x1, y1, x2, y2);
}

bool Graphics::DrawRectangle(const Pen& pen, const RectF& r) {
  return Call(commands::kDrawRectangle, pen.Native(), r.x, r.y, r.width, r.height);
}

bool Graphics::DrawPath(const Pen& pen, const GraphicsPath& path) { return Call(commands::kDrawPath, pen.Native(), path.Native()); }

bool Graphics::Clear(Argb colour) { return Call(commands::kGraphicsClear, colour); }

bool Graphics::FillRectangle(const Brush& brush, const RectF& r) {
  return Call(commands::kFillRectangle, brush.Native(), r.x, r.y, r.width, r.height);
}

bool Graphics::FillPath(const Brush& brush, const GraphicsPath& path) {
  return Call(commands::kFillPath, brush.Native(), path.Native());
}

bool Graphics::DrawString(runtime::TextRef text, const Font& font, const RectF& layout, const StringFormat* format,
                          const Brush& brush) {
  const std::wstring wide = Widen(text);
  const INT length = lstrlenW(wide.c_str());
  return Call(commands::kDrawString, wide.c_str(), length, font.Native(), &layout,
              format ? format->Native() : nullptr, brush.Native());
}

bool Graphics::MeasureString(runtime::TextRef text, const Font& font, const RectF& layout, const StringFormat* format,
                             RectF& bounds) {
  const std::wstring wide = Widen(text);
  INT fitted = 0;
  INT lines = 0;
  return Call(commands::kMeasureString, wide.c_str(), lstrlenW(wide.c_str()), font.Native(), &layout,
              format ? format->Native() : nullptr, &bounds, &fitted, &lines);
}

bool Graphics::DrawImage(const Image& image, Real x, Real y) { return Call(commands::kDrawImage, image.Native(), x, y); }

bool Graphics::DrawImage(const Image& image, const RectF& t) {
  return Call(commands::kDrawImageRect, image.Native(), t.x, t.y, t.width, t.height);
}

bool Graphics::DrawImagePart(const Image& image, const RectF& t, const RectF& s, Unit unit) {
  return Call(commands::kDrawImageRectRect, image.Native(), t.x, t.y, t.width, t.height, s.x, s.y, s.width, s.height,
              static_cast<int>(unit), static_cast<const GpImageAttributes*>(nullptr), static_cast<void*>(nullptr),
              static_cast<void*>(nullptr));
}

bool Graphics::SetClip(const GraphicsPath& path, CombineMode mode) {
  return Call(commands::kSetClipPath, path.Native(), static_cast<int>(mode));
}

bool Graphics::SetClip(const RectF& r, CombineMode mode) {
  return Call(commands::kSetClipRect, r.x, r.y, r.width, r.height, static_cast<int>(mode));
}

bool Graphics::SetClip(HRGN region, CombineMode mode) {
  return Call(commands::kSetClipHrgn, region, static_cast<int>(mode));
}

bool Graphics::ResetClip() { return Call(commands::kResetClip); }

}  // namespace draw
