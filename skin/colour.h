#pragma once
// Colours arrive as COLORREF (0x00BBGGRR) plus a separate alpha; GDI+ wants 0xAARRGGBB.
#include <cstdint>

namespace skin {

constexpr std::uint32_t ToArgb(std::uint32_t colorref, int alpha = 255) {
  const std::uint32_t a = static_cast<std::uint32_t>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
  const std::uint32_t red = colorref & 0xFF, green = (colorref >> 8) & 0xFF, blue = (colorref >> 16) & 0xFF;
  return a << 24 | red << 16 | green << 8 | blue;
}

inline constexpr std::uint32_t kAccentColour = 0xDDCA22;  // COLORREF: red 0x22, green 0xCA, blue 0xDD

}  // namespace skin
