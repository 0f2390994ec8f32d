#include "forms/unit_record.h"

#include "forms/byte_reader.h"
#include "forms/resource_error.h"

namespace forms {
namespace {

FieldRange RangeFrom(std::size_t start, const ByteReader& reader) {
  return {start, reader.Position() - start};
}

}  // namespace

UnitRecord ParseUnitRecord(std::span<const std::uint8_t> body, bool menuItem) {
  ByteReader reader(body);
  UnitRecord record;
  record.menuItem = menuItem;
  record.kind = reader.U32();
  record.redirectField = {reader.Position(), 4};
  record.redirectTarget = reader.U32();
  reader.Skip(16);
  record.name = reader.ZText();
  record.comment = reader.ZText();

  if (menuItem) {
    record.menuValues[0] = reader.U32();
    record.menuValues[1] = reader.U32();
    record.menuFlagsField = {reader.Position(), 4};
    record.menuValues[2] = reader.U32();
    const std::size_t start = reader.Position();
    record.menuCaption = reader.ZText();
    record.menuCaptionField = RangeFrom(start, reader);
    record.menuHandler = reader.I32();
    return record;
  }

  record.objectSlot = reader.U32();
  record.geometryField = {reader.Position(), 16};
  record.geometry.left = reader.I32();
  record.geometry.top = reader.I32();
  record.geometry.width = reader.I32();
  record.geometry.height = reader.I32();
  record.cursorSlot = reader.U32();
  record.parent = reader.U32();

  std::uint32_t childCount = reader.U32();
  if (childCount > reader.Remaining() / 4) FailResourceLoad();
  record.children.reserve(childCount);
  for (std::uint32_t i = 0; i < childCount; ++i) record.children.push_back(reader.U32());

  std::size_t start = reader.Position();
  auto pointer = reader.CountedBytes();
  record.mousePointer.assign(pointer.begin(), pointer.end());
  record.mousePointerField = RangeFrom(start, reader);

  start = reader.Position();
  record.tag = reader.ZText();
  record.tagField = RangeFrom(start, reader);

  reader.Skip(4);
  record.flagsField = {reader.Position(), 4};
  record.flags = reader.U32();
  reader.Skip(4);

  std::uint32_t eventCount = reader.U32();
  if (eventCount > reader.Remaining() / 8) FailResourceLoad();
  record.events.reserve(eventCount);
  for (std::uint32_t i = 0; i < eventCount; ++i) {
    EventBinding binding;
    binding.eventIndex = reader.I32();
    binding.handlerOffset = reader.I32();
    record.events.push_back(binding);
  }
  reader.Skip(20);
  record.kindData = {reader.Position(), reader.Remaining()};
  return record;
}

std::vector<std::int32_t> HandlerOffsets(const UnitRecord& record) {
  if (record.menuItem) return {record.menuHandler};
  std::vector<std::int32_t> offsets;
  offsets.reserve(record.events.size());
  for (const auto& binding : record.events) offsets.push_back(binding.handlerOffset);
  return offsets;
}

std::vector<std::vector<UnitId>> SplitPages(std::span<const UnitId> children) {
  std::vector<std::vector<UnitId>> pages;
  std::vector<UnitId> page;
  for (UnitId id : children) {
    if (id == 0) {
      pages.push_back(std::move(page));
      page.clear();
    } else {
      page.push_back(id);
    }
  }
  // Entries after the last 0 belong to no closed page; keep them rather than lose units.
  if (!page.empty()) pages.push_back(std::move(page));
  return pages;
}

}  // namespace forms
