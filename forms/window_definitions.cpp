#include "forms/window_definitions.h"

#include <cstdint>

namespace forms {

void WindowDefinitions::Read(std::span<const std::byte> resource, const CodeBase& codeBase) {
  resource_ = WindowResource::Load(
      {reinterpret_cast<const std::uint8_t*>(resource.data()), resource.size()}, codeBase);
}

WindowDefinitions& ProcessWindowDefinitions() {
  static WindowDefinitions definitions;
  return definitions;
}

}  // namespace forms
