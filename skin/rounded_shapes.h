#pragma once
// The rounded shapes every skinned look is made of. r is the side of the corner arc's square.
#include "draw/graphics_path.h"

namespace skin {

// A closed rounded rectangle; the bottom-right arc is one pixel larger and further up-left.
void AddRoundedRectangle(draw::GraphicsPath& path, float x, float y, float width, float height, float r);
// Rounded at the top only; the figure stays open at the bottom.
void AddTopRounded(draw::GraphicsPath& path, float x, float y, float width, float height, float r);
// A path holding one rounded rectangle as AddRoundedRectangle makes it, alternate fill.
draw::GraphicsPath RoundedRectanglePath(float x, float y, float width, float height, float r);

}  // namespace skin
