#include "app/board_objects.h"

#include <optional>

namespace board {
namespace {

std::optional<skin::SkinEngine> skinEngine;

}  // namespace

void InitialiseModules() { skinEngine.emplace(); }

void DestroyObjects() { skinEngine.reset(); }

skin::SkinEngine& Skin() { return *skinEngine; }

}  // namespace board
