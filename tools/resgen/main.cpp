// resgen: turns the readable window layout into the window resource the program carries.
//   resgen LAYOUT ASSETS_DIR OUTPUT
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/resgen/encode.h"
#include "tools/resgen/layout.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: resgen LAYOUT ASSETS_DIR OUTPUT\n");
    return 2;
  }
  std::ifstream input(argv[1], std::ios::binary);
  if (!input) {
    std::fprintf(stderr, "resgen: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(input)), {});

  resgen::Layout layout;
  resgen::EncodeResult result;
  std::string error;
  if (!resgen::ParseLayout(text, layout, error) || !resgen::EncodeLayout(layout, argv[2], result, error)) {
    std::fprintf(stderr, "%s:%s\n", argv[1], error.c_str());
    return 1;
  }
  for (const auto& warning : result.warnings) std::fprintf(stderr, "resgen: warning: %s\n", warning.c_str());

  std::ofstream output(argv[3], std::ios::binary | std::ios::trunc);
  output.write(reinterpret_cast<const char*>(result.bytes.data()),
               static_cast<std::streamsize>(result.bytes.size()));
  if (!output) {
    std::fprintf(stderr, "resgen: cannot write %s\n", argv[3]);
    return 1;
  }
  for (const auto& window : result.windows) {
    std::printf("resgen: %s: %u units, unit list %u bytes\n", window.reference.c_str(), window.units,
                window.listLength);
  }
  std::printf("resgen: %zu bytes written to %s\n", result.bytes.size(), argv[3]);
  return 0;
}
