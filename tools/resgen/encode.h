#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/resgen/layout.h"

namespace resgen {

struct WindowSummary {
  std::string reference;
  std::uint32_t units = 0;
  std::uint32_t listLength = 0;
};

struct EncodeResult {
  std::vector<std::uint8_t> bytes;
  std::vector<WindowSummary> windows;
  std::vector<std::string> warnings;
};

// Builds the window resource. Pictures named "asset:NAME" are read from assetsDir.
bool EncodeLayout(const Layout& layout, const std::filesystem::path& assetsDir,
                  EncodeResult& result, std::string& error);

}  // namespace resgen
