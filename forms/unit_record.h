#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "forms/ids.h"

namespace forms {

struct Geometry {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

namespace unit_flags {
inline constexpr std::uint32_t kVisible = 1u << 0;
inline constexpr std::uint32_t kDisabled = 1u << 1;
inline constexpr std::uint32_t kTabStop = 1u << 2;
}  // namespace unit_flags

struct EventBinding {
  std::int32_t eventIndex = 0;
  std::int32_t handlerOffset = -1;  // -1: no handler
};

// A byte range inside one record (after its size word).
struct FieldRange {
  std::size_t offset = 0;
  std::size_t size = 0;
};

// One unit record as read from the list. Texts are the stored GBK bytes.
struct UnitRecord {
  KindId kind = 0;
  UnitId redirectTarget = 0;
  std::string name;
  std::string comment;

  bool menuItem = false;
  // Controls and the window's own unit.
  std::uint32_t objectSlot = 0;
  Geometry geometry;
  std::uint32_t cursorSlot = 0;
  UnitId parent = 0;
  std::vector<UnitId> children;
  std::vector<std::uint8_t> mousePointer;
  std::string tag;
  std::uint32_t flags = 0;
  std::vector<EventBinding> events;
  FieldRange kindData;
  // Menu items: nesting level (0: the menu bar), shortcut key, flag word.
  std::array<std::uint32_t, 3> menuValues{};
  std::string menuCaption;
  std::int32_t menuHandler = -1;

  // Where the editable fields sit, for in-place and resizing edits.
  FieldRange redirectField;
  FieldRange geometryField;
  FieldRange mousePointerField;  // length word and bytes
  FieldRange tagField;           // text and terminator
  FieldRange flagsField;
  FieldRange menuFlagsField;    // menu items: the flag word
  FieldRange menuCaptionField;  // menu items: text and terminator
};

// Reads one record body. Menu items (known from the unit's id) have their own short layout.
UnitRecord ParseUnitRecord(std::span<const std::uint8_t> body, bool menuItem);

// The handler offsets of a record in the order they are stored: every binding of a control or
// window, or the one handler of a menu item.
std::vector<std::int32_t> HandlerOffsets(const UnitRecord& record);

// The child list of a paged container: one list per page, each closed by a 0 in the record.
std::vector<std::vector<UnitId>> SplitPages(std::span<const UnitId> children);

}  // namespace forms
