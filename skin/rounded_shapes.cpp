#include "skin/rounded_shapes.h"

#include <algorithm>

namespace skin {

void AddRoundedRectangle(draw::GraphicsPath& path, float a, float b, float c, float d, float r) {
  r = std::clamp(r, 1.0f, 100.0f);
  path.StartFigure();
  path.AddArc({a + c - r, b, r, r}, 270, 90);
  path.AddArc({a + c - r - 1, b + d - r - 1, r + 1, r + 1}, 0, 90);
  path.AddArc({a, b + d - r, r, r}, 90, 90);
  path.AddArc({a, b, r, r}, 180, 90);
  path.CloseFigure();
}

void AddTopRounded(draw::GraphicsPath& path, float a, float b, float c, float d, float r) {
  r = std::clamp(r, 1.0f, 100.0f);
  path.StartFigure();
  path.AddLine(a, b + d, a, b + r);
  path.AddArc({a, b, r, r}, 180, 90);
  path.AddLine(a + r, b, a + c - r, b);
  path.AddArc({a + c - r, b, r, r}, 270, 90);
  path.AddLine(a + c, b + r, a + c, b + d);
}

draw::GraphicsPath RoundedRectanglePath(float x, float y, float width, float height, float r) {
  draw::GraphicsPath path(draw::kFillAlternate);
  AddRoundedRectangle(path, x, y, width, height, r);
  return path;
}

}  // namespace skin
