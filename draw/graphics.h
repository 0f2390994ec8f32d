#pragma once
// A drawing surface on a device context or on a bitmap.
#include "draw/brushes.h"
#include "draw/font.h"
#include "draw/gdiplus_commands.h"
#include "draw/graphics_path.h"
#include "draw/image.h"
#include "draw/native_object.h"
#include "draw/pen.h"
#include "runtime/values/text_value.h"

namespace draw {

class Graphics : public NativeObject<GpGraphics, commands::kDeleteGraphics> {
 public:
  Graphics() = default;
  explicit Graphics(HDC dc) { CreateFromDc(dc); }

  // GdipCreateFromHDC2 when a device is given.
  bool CreateFromDc(HDC dc, HANDLE device = nullptr);
  bool CreateOnImage(const Image& image);

  bool SetCompositingQuality(CompositingQuality quality);
  bool SetInterpolationMode(InterpolationMode mode);
  bool SetSmoothingMode(SmoothingMode mode);
  bool SetPixelOffsetMode(PixelOffsetMode mode);

  bool DrawLine(const Pen& pen, Real x1, Real y1, Real x2, Real y2);
  bool DrawRectangle(const Pen& pen, const RectF& rect);
  bool DrawPath(const Pen& pen, const GraphicsPath& path);
  bool Clear(Argb colour);
  bool FillRectangle(const Brush& brush, const RectF& rect);
  bool FillPath(const Brush& brush, const GraphicsPath& path);

  bool DrawString(runtime::TextRef text, const Font& font, const RectF& layout, const StringFormat* format, const Brush& brush);
  bool MeasureString(runtime::TextRef text, const Font& font, const RectF& layout, const StringFormat* format, RectF& bounds);

  bool DrawImage(const Image& image, Real x, Real y);
  bool DrawImage(const Image& image, const RectF& target);
  bool DrawImagePart(const Image& image, const RectF& target, const RectF& source, Unit sourceUnit = kUnitPixel);

  bool SetClip(const GraphicsPath& path, CombineMode mode = kCombineReplace);
  bool SetClip(const RectF& rect, CombineMode mode = kCombineReplace);
  // The clip of a GDI region, pixel for pixel.
  bool SetClip(HRGN region, CombineMode mode = kCombineReplace);
  bool ResetClip();
};

}  // namespace draw
