#include "draw/brushes.h"

#include <algorithm>

namespace draw {

bool SolidBrush::Create(Argb colour) { return NativeObject::Create(commands::kCreateSolidFill, colour); }

bool LinearGradientBrush::Create(PointF from, PointF to, Argb fromColour, Argb toColour, WrapMode wrap) {
  return NativeObject::Create(commands::kCreateLineBrush, &from, &to, fromColour, toColour, static_cast<int>(wrap));
}

bool LinearGradientBrush::SetPresetBlend(std::span<const Argb> colours, std::span<const Real> positions) {
  const auto count = static_cast<INT>(std::min(colours.size(), positions.size()));
  return Call(commands::kSetLinePresetBlend, colours.data(), positions.data(), count);
}

bool LinearGradientBrush::SetLinearBlend(Real focus, Real scale) { return Call(commands::kSetLineLinearBlend, focus, scale); }

bool PathGradientBrush::Create(const GraphicsPath& path) {
  return NativeObject::Create(commands::kCreatePathGradientFromPath, path.Native());
}

bool PathGradientBrush::SetCenterColour(Argb colour) { return Call(commands::kSetPathGradientCenterColor, colour); }

bool PathGradientBrush::SetSurroundColours(std::span<const Argb> colours) {
  INT count = static_cast<INT>(colours.size());
  return Call(commands::kSetPathGradientSurroundColorsWithCount, colours.data(), &count);
}

bool PathGradientBrush::SetCenterPoint(PointF point) { return Call(commands::kSetPathGradientCenterPoint, &point); }

}  // namespace draw
