#include "forms/window_resource.h"

#include "forms/byte_reader.h"
#include "forms/resource_error.h"

#include <utility>

namespace forms {

WindowResource WindowResource::Load(std::span<const std::uint8_t> bytes, const CodeBase& codeBase) {
  WindowResource resource;
  if (bytes.empty()) return resource;

  ByteReader reader(bytes);
  std::uint32_t tableLength = reader.U32();
  if (tableLength % 8 != 0 || tableLength > reader.Remaining()) FailResourceLoad();
  const std::size_t windowCount = tableLength / 8;
  for (std::size_t i = 0; i < windowCount; ++i) resource.table_.ids.push_back(reader.U32());
  reader.Skip(4 * windowCount);

  resource.windows_.reserve(windowCount);
  for (WindowId id : resource.table_.ids) {
    std::uint32_t valueA = reader.U32();
    std::uint32_t valueB = reader.U32();
    std::string name(reader.CountedText());
    std::string comment(reader.CountedText());
    std::uint32_t unitCount = reader.U32();
    auto listBytes = reader.CountedBytes();
    WindowRecord window{id, valueA, valueB, std::move(name), std::move(comment),
                        UnitList(listBytes, unitCount)};
    window.units.RelocateHandlers(codeBase);
    resource.windows_.push_back(std::move(window));
  }
  // Bytes left over mean the lengths do not describe this data.
  if (!reader.AtEnd()) FailResourceLoad();
  return resource;
}

const WindowRecord* WindowResource::WindowById(WindowId id) const {
  for (const auto& window : windows_) {
    if (window.id == id) return &window;
  }
  return nullptr;
}

WindowRecord* WindowResource::WindowById(WindowId id) {
  return const_cast<WindowRecord*>(std::as_const(*this).WindowById(id));
}

const UnitRecord* WindowResource::FindUnit(WindowId window, UnitId unit) const {
  const WindowRecord* record = WindowById(window);
  if (!record) return nullptr;
  auto index = record->units.IndexOf(unit);
  return index ? &record->units.Record(*index) : nullptr;
}

const UnitRecord* WindowResource::UnitAt(WindowId window, std::size_t index) const {
  const WindowRecord* record = WindowById(window);
  if (!record || index >= record->units.Count()) return nullptr;
  return &record->units.Record(index);
}

}  // namespace forms
