#pragma once
// The limits the common geometry properties put on written values.
#include <cstdint>

namespace forms {

inline constexpr std::int32_t kGeometryLimit = 32627;

namespace common_property {
inline constexpr int kLeft = 0;
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kTag = 4;
inline constexpr int kVisible = 5;
inline constexpr int kDisabled = 6;
inline constexpr int kMousePointer = 7;
inline constexpr int kFirstKindProperty = 8;
}  // namespace common_property

// Left and Top.
constexpr std::int32_t ClampPosition(std::int32_t value) {
  return value > kGeometryLimit ? kGeometryLimit : (value < -kGeometryLimit ? -kGeometryLimit : value);
}
// Width and Height.
constexpr std::int32_t ClampSize(std::int32_t value) {
  return value > kGeometryLimit ? kGeometryLimit : (value < 0 ? 0 : value);
}

}  // namespace forms
