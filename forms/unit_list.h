#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "forms/ids.h"
#include "forms/unit_record.h"

namespace forms {

// Where the board's handler table lives: offset h relocates to entry h, -1 to the empty handler.
struct CodeBase {
  const void* firstEntry = nullptr;
  std::size_t entrySize = 0;
  std::size_t entryCount = 0;
  const void* emptyHandler = nullptr;
};
using HandlerAddress = const void*;

// The units of one window: N ids, N offsets, then the records, held as one block. Records are
// parsed on first use; edits keep the block well-formed.
class UnitList {
 public:
  // Checks the arrays and that the records tile the record area exactly.
  UnitList(std::span<const std::uint8_t> bytes, std::uint32_t unitCount);

  std::size_t Count() const { return count_; }
  // 0 past the end. The other accessors take an index below Count() only.
  UnitId IdAt(std::size_t index) const;
  // First entry with that id, like the runtime's look-up.
  std::optional<std::size_t> IndexOf(UnitId id) const;
  // The same, where the id 0 names the window's own unit (the first).
  std::optional<std::size_t> IndexOfUnitOrWindow(UnitId id) const;
  bool IsMenuItem(std::size_t index) const { return IsMenuItemId(IdAt(index)); }

  const UnitRecord& Record(std::size_t index) const;
  std::span<const std::uint8_t> RecordBody(std::size_t index) const;
  std::span<const std::uint8_t> KindData(std::size_t index) const;

  std::span<const std::uint8_t> Bytes() const { return bytes_; }
  std::size_t ByteLength() const { return bytes_.size(); }

  // Walks every record to its handlers and relocates them; a handler offset that is neither -1
  // nor an entry of the table ends in the load failure.
  void RelocateHandlers(const CodeBase& codeBase);
  std::span<const HandlerAddress> Handlers(std::size_t index) const;

  // Variable-length edits: the record size, the later offsets and the list length follow.
  // A text is stored up to its first zero byte. False when the result cannot be stored.
  bool ReplaceTag(std::size_t index, std::string_view text);
  bool ReplaceMousePointer(std::size_t index, std::span<const std::uint8_t> bytes);
  // Fixed-size fields written in place (controls and the window's own unit only).
  bool SetGeometry(std::size_t index, const Geometry& geometry);
  bool SetFlags(std::size_t index, std::uint32_t flags);
  void SetRedirectTarget(std::size_t index, UnitId target);
  // Menu items only.
  bool SetMenuFlags(std::size_t index, std::uint32_t flags);
  bool ReplaceMenuCaption(std::size_t index, std::string_view text);

  // Units made and removed at run time. A new unit goes last and has no handlers.
  bool Append(UnitId id, std::span<const std::uint8_t> body);
  void Remove(std::size_t index);
  bool ReplaceChildren(std::size_t index, std::span<const UnitId> children);

 private:
  std::size_t RecordsBase() const { return 8 * count_; }
  std::uint32_t OffsetAt(std::size_t index) const;
  std::size_t BodyStart(std::size_t index) const { return RecordsBase() + OffsetAt(index) + 4; }
  bool ReplaceField(std::size_t index, FieldRange field, std::span<const std::uint8_t> content);
  void WriteInPlace(std::size_t index, FieldRange field, std::span<const std::uint8_t> content);

  std::vector<std::uint8_t> bytes_;
  std::size_t count_ = 0;
  mutable std::vector<std::unique_ptr<UnitRecord>> parsed_;
  std::vector<std::vector<HandlerAddress>> handlers_;
};

}  // namespace forms
