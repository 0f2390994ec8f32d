#pragma once
// The forms runtime's view of a unit kind is the unit-kind layer's interface: a live control per
// unit that speaks for it in the kind's own terms (kind properties, kind events, keys it needs).
#include "controls/unit_kind.h"

namespace forms {

using controls::KindEvent;
using controls::UnitControl;
using controls::UnitCreateContext;
using controls::UnitLookup;

using UnitKindFactory = std::unique_ptr<UnitControl> (*)(const UnitCreateContext& context);

}  // namespace forms
