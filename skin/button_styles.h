#pragma once
// Which BUTTON-class windows the skin takes over, by their style bits alone.
#include <cstdint>

namespace skin {

// The button records' kinds; 1 and 3 belong to picture buttons the board never makes.
enum class ButtonType : int { kPush = 0, kRadio = 4, kCheckBox = 5 };

inline constexpr std::int64_t kOwnerDrawnBits = 0xB;

constexpr bool HasBits(std::int64_t style, std::int64_t bits) { return (style | bits) == style; }

// Push, default push and type 8; never a button already drawn by its owner.
constexpr bool IsSkinnablePushButton(std::int64_t style) {
  if (HasBits(style, kOwnerDrawnBits)) return false;
  return !HasBits(style, 0x2) && !HasBits(style, 0x9) && !HasBits(style, 0x4);
}

constexpr bool IsSkinnableRadio(std::int64_t style) {
  return !HasBits(style, kOwnerDrawnBits) && HasBits(style, 0x9) && !HasBits(style, 0x2) && !HasBits(style, 0x4);
}

// Check box, auto check box and push box.
constexpr bool IsSkinnableCheckBox(std::int64_t style) {
  return !HasBits(style, kOwnerDrawnBits) && HasBits(style, 0x2) && !HasBits(style, 0x4);
}

}  // namespace skin
