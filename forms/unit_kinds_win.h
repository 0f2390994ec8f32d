#pragma once
// The forms runtime's view of a unit kind is the unit-kind layer's interface: a live control per
// unit that speaks for it in the kind's own terms (kind properties, kind events, keys it needs).
#include "controls/unit_kind.h"

namespace forms {

using controls::KindEvent;
using controls::UnitControl;
using controls::UnitCreateContext;
using controls::UnitHandleLookup;

using UnitKindFactory = std::unique_ptr<UnitControl> (*)(const UnitCreateContext& context);

// The kinds over plain platform controls of the right classes: what the runtime creates units
// with until the program hands it the unit-kind layer's factory (FormsRuntime::SetUnitKinds).
std::unique_ptr<UnitControl> CreatePlainUnitControl(const UnitCreateContext& context);

}  // namespace forms
