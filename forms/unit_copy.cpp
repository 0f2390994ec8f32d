#include "forms/unit_copy.h"

#include <algorithm>

#include "forms/byte_reader.h"

namespace forms {

std::vector<std::uint8_t> CopiedUnitBody(const UnitList& units, std::size_t index) {
  const UnitRecord& record = units.Record(index);
  const std::span<const std::uint8_t> body = units.RecordBody(index);
  std::vector<std::uint8_t> copy;
  copy.reserve(body.size());
  auto part = [&](std::size_t from, std::size_t to) {
    copy.insert(copy.end(), body.begin() + static_cast<std::ptrdiff_t>(from), body.begin() + static_cast<std::ptrdiff_t>(to));
  };
  auto word = [&](std::uint32_t value) {
    std::uint8_t bytes[4];
    StoreU32(bytes, value);
    copy.insert(copy.end(), bytes, bytes + 4);
  };
  const std::size_t objectSlot = record.geometryField.offset - 4;
  const std::size_t childrenAt = record.geometryField.offset + 24;
  const std::size_t afterChildren = childrenAt + 4 + 4 * record.children.size();
  const std::size_t eventsAt = record.flagsField.offset + 8;
  const std::size_t afterEvents = eventsAt + 4 + 8 * record.events.size();

  part(0, record.redirectField.offset);
  word(0);  // redirection
  part(record.redirectField.offset + 4, objectSlot);
  word(0);  // object slot
  part(record.geometryField.offset, record.geometryField.offset + 16);
  word(0);  // cursor slot
  word(record.parent);
  word(0);  // no children
  part(afterChildren, eventsAt);
  word(0);  // no event bindings
  part(afterEvents, body.size());
  return copy;
}

std::optional<UnitId> FreeUnitId(const UnitList& units, UnitId like) {
  const UnitId base = like & 0xFFFF0000u;
  std::uint32_t highest = 0;
  for (std::size_t i = 0; i < units.Count(); ++i) {
    const UnitId id = units.IdAt(i);
    if ((id & 0xFFFF0000u) == base) highest = std::max(highest, id & 0xFFFFu);
  }
  for (std::uint32_t low = highest + 1; low <= 0xFFFF; ++low) {
    if (!units.IndexOf(base | low)) return base | low;
  }
  for (std::uint32_t low = 1; low < highest; ++low) {
    if (!units.IndexOf(base | low)) return base | low;
  }
  return std::nullopt;
}

}  // namespace forms
