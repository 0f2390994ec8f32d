#pragma once
#include "draw/gdiplus_commands.h"
#include "draw/native_object.h"

namespace draw {

class GraphicsPath : public NativeObject<GpPath, commands::kDeletePath> {
 public:
  GraphicsPath() = default;
  explicit GraphicsPath(FillMode mode) { Create(mode); }

  bool Create(FillMode mode = kFillAlternate);
  bool Reset();
  bool AddLine(Real x1, Real y1, Real x2, Real y2);
  bool AddRectangle(const RectF& rect);
  bool AddEllipse(const RectF& rect);
  bool AddArc(const RectF& rect, Real startAngle, Real sweepAngle);
  bool StartFigure();
  bool CloseFigure();
};

}  // namespace draw
