#include "app/board_objects.h"

#include <optional>

namespace board {
namespace {

std::optional<skin::SkinEngine> skinEngine;
std::optional<skin::TabStrip> tabStrip;

}  // namespace

void InitialiseModules() {
  skinEngine.emplace();
  tabStrip.emplace();
}

// The strip's window belongs to the skin: it goes first.
void DestroyObjects() {
  tabStrip.reset();
  skinEngine.reset();
}

skin::SkinEngine& Skin() { return *skinEngine; }
skin::TabStrip& Strip() { return *tabStrip; }

}  // namespace board
