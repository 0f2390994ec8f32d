#pragma once
#include "draw/brushes.h"
#include "draw/gdiplus_commands.h"
#include "draw/native_object.h"

namespace draw {

class Pen : public NativeObject<GpPen, commands::kDeletePen> {
 public:
  Pen() = default;
  Pen(Argb colour, Real width) { Create(colour, width); }
  Pen(const Brush& brush, Real width) { Create(brush, width); }

  bool Create(Argb colour, Real width, Unit unit = kUnitWorld);
  bool Create(const Brush& brush, Real width, Unit unit = kUnitWorld);
  bool SetWidth(Real width);
};

}  // namespace draw
