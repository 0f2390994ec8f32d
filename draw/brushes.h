#pragma once
// Solid, linear-gradient and path-gradient brushes: one native family, deleted alike.
#include <span>

#include "draw/gdiplus_commands.h"
#include "draw/graphics_path.h"
#include "draw/native_object.h"

namespace draw {

class Brush : public NativeObject<GpBrush, commands::kDeleteBrush> {};

class SolidBrush : public Brush {
 public:
  SolidBrush() = default;
  explicit SolidBrush(Argb colour) { Create(colour); }
  bool Create(Argb colour);
};

class LinearGradientBrush : public Brush {
 public:
  LinearGradientBrush() = default;
  LinearGradientBrush(PointF from, PointF to, Argb fromColour, Argb toColour, WrapMode wrap = kWrapTile) {
    Create(from, to, fromColour, toColour, wrap);
  }
  bool Create(PointF from, PointF to, Argb fromColour, Argb toColour, WrapMode wrap = kWrapTile);
  bool SetPresetBlend(std::span<const Argb> colours, std::span<const Real> positions);
  bool SetLinearBlend(Real focus, Real scale);
};

class PathGradientBrush : public Brush {
 public:
  PathGradientBrush() = default;
  explicit PathGradientBrush(const GraphicsPath& path) { Create(path); }
  bool Create(const GraphicsPath& path);
  bool SetCenterColour(Argb colour);
  bool SetSurroundColours(std::span<const Argb> colours);
  bool SetCenterPoint(PointF point);
};

}  // namespace draw
