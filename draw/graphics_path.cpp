#include "draw/graphics_path.h"

namespace draw {

bool GraphicsPath::Create(FillMode mode) { return NativeObject::Create(commands::kCreatePath, static_cast<int>(mode)); }
bool GraphicsPath::Reset() { return Call(commands::kResetPath); }
bool GraphicsPath::AddLine(Real x1, Real y1, Real x2, Real y2) { return Call(commands::kAddPathLine, x1, y1, x2, y2); }
bool GraphicsPath::AddRectangle(const RectF& r) { return Call(commands::kAddPathRectangle, r.x, r.y, r.width, r.height); }
bool GraphicsPath::AddEllipse(const RectF& r) { return Call(commands::kAddPathEllipse, r.x, r.y, r.width, r.height); }
bool GraphicsPath::AddArc(const RectF& r, Real start, Real sweep) {
  return Call(commands::kAddPathArc, r.x, r.y, r.width, r.height, start, sweep);
}
bool GraphicsPath::StartFigure() { return Call(commands::kStartPathFigure); }
bool GraphicsPath::CloseFigure() { return Call(commands::kClosePathFigure); }

}  // namespace draw
