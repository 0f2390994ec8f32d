#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "forms/ids.h"

namespace forms {

namespace kind_ids {
inline constexpr KindId kWindow = 0x00010001;
inline constexpr KindId kMenuItem = 0x00010003;
inline constexpr KindId kPicBox = 0x00010006;
inline constexpr KindId kDrawPanel = 0x00010008;
inline constexpr KindId kGroupBox = 0x00010009;
inline constexpr KindId kLabel = 0x0001000A;
inline constexpr KindId kButton = 0x0001000B;
inline constexpr KindId kComboBox = 0x0001000E;
inline constexpr KindId kSliderBar = 0x00010014;
inline constexpr KindId kCommonDlg = 0x0001001F;
inline constexpr KindId kPageControl = 0x00050002;
}  // namespace kind_ids

// Bits of a kind's state word.
namespace kind_state {
inline constexpr std::uint32_t kPagedContainer = 0x100;
inline constexpr std::uint32_t kNeverShown = 0x8000;
}  // namespace kind_state

enum class PropertyType { Int, Bool, Text, Pick, Colour, Font, Picture, Icon, Sound, Cursor, FileName, Bytes };

struct PropertyDescription {
  std::string_view name;  // empty where the property has no name of its own
  PropertyType type;
  std::uint32_t state;
};

struct EventDescription {
  std::string_view name;
  std::int32_t index;
};

struct KindDescription {
  KindId id;
  std::string_view name;         // GBK, as the kind-name filter of enumeration compares it
  std::string_view englishName;
  std::uint32_t state;
  std::uint32_t dataVersion;     // highest KindData version this program reads; 0: none
  std::span<const PropertyDescription> properties;  // 0..7 common, then the kind's own
  std::span<const EventDescription> events;          // the kind's own (index 0 and up)
};

const KindDescription* FindKind(KindId id);
const KindDescription* FindKindByEnglishName(std::string_view englishName);
std::span<const KindDescription> AllKinds();

// Events every unit has (negative indices).
std::span<const EventDescription> CommonEvents();
// Own or common event of a kind by name; false when the kind has no such event.
bool FindEventIndex(const KindDescription& kind, std::string_view name, std::int32_t& index);

}  // namespace forms
