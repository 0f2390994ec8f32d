#pragma once
// The pictures the skin carries inside the program, drawn at build time by make_pictures.sh.
#include <cstdint>
#include <span>

namespace assets {

enum class Picture {
  kBackground,  // 472 x 600 progressive JPEG, blue sky with clouds
  kHelp,        // caption glyphs, 26 x 18 (close 38 x 18), white on transparency
  kMenu,
  kMinimize,
  kMaximize,
  kRestore,
  kClose,
  kCheckOff,  // 13 x 13
  kCheckOn,
  kArrowDown,  // 7 x 4
  kArrowUp,
  kArrowLeft,  // 4 x 7
  kArrowRight,
};

std::span<const std::uint8_t> Carried(Picture picture);

}  // namespace assets
