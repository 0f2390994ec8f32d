#include "controls/value_rules.h"

#include "forms/kind_data.h"

namespace controls {

std::vector<std::uint32_t> SetColours(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t colour : {a, b, c}) {
    if (colour != forms::kDefaultColour) colours.push_back(colour);
  }
  return colours;
}

std::vector<TextPass> TextPasses(std::uint32_t effect, std::uint32_t textColour) {
  constexpr std::uint32_t kWhite = 0xFFFFFF;
  constexpr std::uint32_t kBlack = 0x000000;
  switch (effect) {
    case 1: return {{1, 1, kWhite}, {0, 0, textColour}};   // raised
    case 2: return {{0, 0, kWhite}, {1, 1, textColour}};   // sunken
    case 3: return {{2, 2, kBlack}, {0, 0, textColour}};   // shadow
    default: return {{0, 0, textColour}};
  }
}

}  // namespace controls
