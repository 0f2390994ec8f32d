#pragma once
// The drawing-panel commands of the board's code. Each draws into the panel's kept picture and
// onto its screen alike; a unit that is not a live drawing panel draws nothing.
#include <cstdint>
#include <optional>
#include <span>

#include "runtime/values/unit_ref.h"

namespace forms {

// An omitted side or corner comes from the whole client area.
struct DrawingArea {
  std::optional<std::int32_t> x, y, width, height;
};

// Background over the area; the drawing position moves to its top-left corner.
void ClearDrawing(const runtime::UnitRef& panel, const DrawingArea& area = {});
// Mode 1..8 (clamped, default 2); colours 0x00BBGGRR, at least two.
void GradientFill(const runtime::UnitRef& panel, std::int32_t x, std::int32_t y, std::int32_t width,
                  std::int32_t height, std::optional<std::int32_t> mode, std::span<const std::uint32_t> colours);
// Mode 1..5 (clamped, default 1): SRCCOPY, NOTSRCCOPY, SRCINVERT, SRCPAINT, SRCAND. The target
// defaults to the source.
void CopyPicture(const runtime::UnitRef& source, std::int32_t x, std::int32_t y,
                 std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                 const std::optional<runtime::UnitRef>& target, std::int32_t targetX, std::int32_t targetY,
                 std::optional<std::int32_t> mode = std::nullopt);

}  // namespace forms
