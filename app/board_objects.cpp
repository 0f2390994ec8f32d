#include "app/board_objects.h"

#include <optional>

namespace board {
namespace {

std::optional<audio::AudioPlayer> player;
std::optional<skin::WindowWrapper> wrapper;
std::optional<skin::SkinEngine> skinEngine;
std::optional<skin::TabStrip> tabStrip;
BoardState state;

}  // namespace

void ConstructObjects() {
  player.emplace();
  state = BoardState{};
  wrapper.emplace();
}

void InitialiseModules() {
  skin::WindowWrapper::InitialiseModule(GetModuleHandleA(nullptr));
  skinEngine.emplace();
  tabStrip.emplace();
}

// The strip and the wrapper hold windows and GDI objects the skin's shutdown must outlive.
void DestroyObjects() {
  tabStrip.reset();
  wrapper.reset();
  skinEngine.reset();
  player.reset();
}

audio::AudioPlayer& Player() { return *player; }
skin::WindowWrapper& Wrapper() { return *wrapper; }
skin::SkinEngine& Skin() { return *skinEngine; }
skin::TabStrip& Strip() { return *tabStrip; }
BoardState& State() { return state; }

}  // namespace board
