#include "draw/pen.h"

namespace draw {

bool Pen::Create(Argb colour, Real width, Unit unit) {
  return NativeObject::Create(commands::kCreatePen1, colour, width, static_cast<int>(unit));
}

bool Pen::Create(const Brush& brush, Real width, Unit unit) {
  return NativeObject::Create(commands::kCreatePen2, brush.Native(), width, static_cast<int>(unit));
}

bool Pen::SetWidth(Real width) { return Call(commands::kSetPenWidth, width); }

}  // namespace draw
