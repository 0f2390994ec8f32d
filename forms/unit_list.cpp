#include "forms/unit_list.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "forms/byte_reader.h"
#include "forms/resource_error.h"

namespace forms {

UnitList::UnitList(std::span<const std::uint8_t> bytes, std::uint32_t unitCount)
    : bytes_(bytes.begin(), bytes.end()), count_(unitCount) {
  if (count_ > bytes_.size() / 8) FailResourceLoad();
  parsed_.resize(count_);
  handlers_.resize(count_);

  // The records must cover the area behind the arrays exactly, without gaps or overlaps: the
  // list length is 8N plus the sum of (4 + record size), and edits rely on that.
  const std::size_t area = bytes_.size() - RecordsBase();
  std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;  // offset, 4 + size
  spans.reserve(count_);
  for (std::size_t i = 0; i < count_; ++i) {
    std::uint32_t offset = OffsetAt(i);
    if (offset > area || area - offset < 4) FailResourceLoad();
    std::uint32_t size = LoadU32(std::span(bytes_).subspan(RecordsBase() + offset, 4));
    if (size > area - offset - 4) FailResourceLoad();
    spans.emplace_back(offset, size + 4);
  }
  std::sort(spans.begin(), spans.end());
  std::size_t expected = 0;
  for (const auto& [offset, length] : spans) {
    if (offset != expected) FailResourceLoad();
    expected += length;
  }
  if (expected != area) FailResourceLoad();
}

UnitId UnitList::IdAt(std::size_t index) const {
  if (index >= count_) return 0;  // never a valid id
  return LoadU32(std::span(bytes_).subspan(4 * index, 4));
}

std::uint32_t UnitList::OffsetAt(std::size_t index) const {
  // An index past the list is a fault of the caller, not of the resource.
  if (index >= count_) std::abort();
  return LoadU32(std::span(bytes_).subspan(4 * (count_ + index), 4));
}

std::optional<std::size_t> UnitList::IndexOf(UnitId id) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (IdAt(i) == id) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> UnitList::IndexOfUnitOrWindow(UnitId id) const {
  if (id == 0) return count_ > 0 ? std::optional<std::size_t>(0) : std::nullopt;
  return IndexOf(id);
}

std::span<const std::uint8_t> UnitList::RecordBody(std::size_t index) const {
  std::size_t sizeAt = RecordsBase() + OffsetAt(index);
  std::uint32_t size = LoadU32(std::span(bytes_).subspan(sizeAt, 4));
  return std::span(bytes_).subspan(sizeAt + 4, size);
}

const UnitRecord& UnitList::Record(std::size_t index) const {
  if (index >= count_) std::abort();
  auto& slot = parsed_[index];
  if (!slot) slot = std::make_unique<UnitRecord>(ParseUnitRecord(RecordBody(index), IsMenuItem(index)));
  return *slot;
}

std::span<const std::uint8_t> UnitList::KindData(std::size_t index) const {
  const UnitRecord& record = Record(index);
  return RecordBody(index).subspan(record.kindData.offset, record.kindData.size);
}

void UnitList::RelocateHandlers(const CodeBase& codeBase) {
  for (std::size_t i = 0; i < count_; ++i) {
    // The walk reads every record up to its handlers, so a malformed record fails the load here
    // and not later, when the window is first created.
    UnitRecord record = ParseUnitRecord(RecordBody(i), IsMenuItem(i));
    std::vector<HandlerAddress> relocated;
    for (std::int32_t offset : HandlerOffsets(record)) {
      if (offset == -1) {
        relocated.push_back(codeBase.emptyHandler);
      } else if (offset >= 0 && static_cast<std::size_t>(offset) < codeBase.entryCount) {
        relocated.push_back(static_cast<const std::uint8_t*>(codeBase.firstEntry) +
                            static_cast<std::size_t>(offset) * codeBase.entrySize);
      } else {
        // Relocating an offset outside the table would make a handler of arbitrary bytes.
        FailResourceLoad();
      }
    }
    handlers_[i] = std::move(relocated);
  }
}

std::span<const HandlerAddress> UnitList::Handlers(std::size_t index) const {
  if (index >= count_) std::abort();
  return handlers_[index];
}

bool UnitList::ReplaceField(std::size_t index, FieldRange field,
                            std::span<const std::uint8_t> content) {
  const std::uint32_t recordOffset = OffsetAt(index);
  const std::size_t sizeAt = RecordsBase() + recordOffset;
  const std::uint32_t oldSize = LoadU32(std::span(bytes_).subspan(sizeAt, 4));
  const std::size_t newSize = oldSize - field.size + content.size();
  const std::size_t newLength = bytes_.size() - field.size + content.size();
  if (newSize > std::numeric_limits<std::uint32_t>::max() ||
      newLength > std::numeric_limits<std::uint32_t>::max()) {
    return false;
  }

  const auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(sizeAt + 4 + field.offset);
  auto after = bytes_.erase(at, at + static_cast<std::ptrdiff_t>(field.size));
  bytes_.insert(after, content.begin(), content.end());
  StoreU32(std::span(bytes_).subspan(sizeAt, 4), static_cast<std::uint32_t>(newSize));

  const std::int64_t delta = static_cast<std::int64_t>(content.size()) - static_cast<std::int64_t>(field.size);
  for (std::size_t i = 0; i < count_; ++i) {
    std::uint32_t offset = OffsetAt(i);
    if (offset > recordOffset) {
      StoreU32(std::span(bytes_).subspan(4 * (count_ + i), 4),
               static_cast<std::uint32_t>(static_cast<std::int64_t>(offset) + delta));
    }
  }
  parsed_[index].reset();
  return true;
}

bool UnitList::ReplaceTag(std::size_t index, std::string_view text) {
  const UnitRecord& record = Record(index);
  if (record.menuItem) return false;
  text = text.substr(0, text.find('\0'));
  std::vector<std::uint8_t> content(text.begin(), text.end());
  content.push_back(0);
  return ReplaceField(index, record.tagField, content);
}

bool UnitList::ReplaceMousePointer(std::size_t index, std::span<const std::uint8_t> bytes) {
  const UnitRecord& record = Record(index);
  if (record.menuItem || bytes.size() > std::numeric_limits<std::uint32_t>::max()) return false;
  std::vector<std::uint8_t> content(4 + bytes.size());
  StoreU32(content, static_cast<std::uint32_t>(bytes.size()));
  std::copy(bytes.begin(), bytes.end(), content.begin() + 4);
  return ReplaceField(index, record.mousePointerField, content);
}

void UnitList::WriteInPlace(std::size_t index, FieldRange field,
                            std::span<const std::uint8_t> content) {
  std::copy(content.begin(), content.end(),
            bytes_.begin() + static_cast<std::ptrdiff_t>(BodyStart(index) + field.offset));
  parsed_[index].reset();
}

bool UnitList::SetGeometry(std::size_t index, const Geometry& geometry) {
  const UnitRecord& record = Record(index);
  if (record.menuItem) return false;
  std::uint8_t content[16];
  StoreU32(std::span(content).subspan(0, 4), static_cast<std::uint32_t>(geometry.left));
  StoreU32(std::span(content).subspan(4, 4), static_cast<std::uint32_t>(geometry.top));
  StoreU32(std::span(content).subspan(8, 4), static_cast<std::uint32_t>(geometry.width));
  StoreU32(std::span(content).subspan(12, 4), static_cast<std::uint32_t>(geometry.height));
  WriteInPlace(index, record.geometryField, content);
  return true;
}

bool UnitList::SetFlags(std::size_t index, std::uint32_t flags) {
  const UnitRecord& record = Record(index);
  if (record.menuItem) return false;
  std::uint8_t content[4];
  StoreU32(content, flags);
  WriteInPlace(index, record.flagsField, content);
  return true;
}

void UnitList::SetRedirectTarget(std::size_t index, UnitId target) {
  const UnitRecord& record = Record(index);
  std::uint8_t content[4];
  StoreU32(content, target);
  WriteInPlace(index, record.redirectField, content);
}

bool UnitList::SetMenuFlags(std::size_t index, std::uint32_t flags) {
  const UnitRecord& record = Record(index);
  if (!record.menuItem) return false;
  std::uint8_t content[4];
  StoreU32(content, flags);
  WriteInPlace(index, record.menuFlagsField, content);
  return true;
}

bool UnitList::ReplaceMenuCaption(std::size_t index, std::string_view text) {
  const UnitRecord& record = Record(index);
  if (!record.menuItem) return false;
  text = text.substr(0, text.find('\0'));
  std::vector<std::uint8_t> content(text.begin(), text.end());
  content.push_back(0);
  return ReplaceField(index, record.menuCaptionField, content);
}

bool UnitList::Append(UnitId id, std::span<const std::uint8_t> body) {
  const std::size_t area = bytes_.size() - RecordsBase();
  const std::size_t newLength = bytes_.size() + 8 + 4 + body.size();
  if (newLength > std::numeric_limits<std::uint32_t>::max()) return false;
  std::vector<std::uint8_t> next;
  next.reserve(newLength);
  const auto begin = bytes_.begin();
  next.insert(next.end(), begin, begin + static_cast<std::ptrdiff_t>(4 * count_));
  std::uint8_t word[4];
  StoreU32(word, id);
  next.insert(next.end(), word, word + 4);
  next.insert(next.end(), begin + static_cast<std::ptrdiff_t>(4 * count_), begin + static_cast<std::ptrdiff_t>(RecordsBase()));
  StoreU32(word, static_cast<std::uint32_t>(area));
  next.insert(next.end(), word, word + 4);
  next.insert(next.end(), begin + static_cast<std::ptrdiff_t>(RecordsBase()), bytes_.end());
  StoreU32(word, static_cast<std::uint32_t>(body.size()));
  next.insert(next.end(), word, word + 4);
  next.insert(next.end(), body.begin(), body.end());
  bytes_ = std::move(next);
  ++count_;
  parsed_.emplace_back();
  handlers_.emplace_back();
  return true;
}

void UnitList::Remove(std::size_t index) {
  const std::uint32_t removedOffset = OffsetAt(index);
  const std::size_t sizeAt = RecordsBase() + removedOffset;
  const std::uint32_t length = 4 + LoadU32(std::span(bytes_).subspan(sizeAt, 4));
  std::vector<std::uint8_t> next;
  next.reserve(bytes_.size() - 8 - length);
  std::uint8_t word[4];
  for (std::size_t i = 0; i < count_; ++i) {
    if (i == index) continue;
    StoreU32(word, IdAt(i));
    next.insert(next.end(), word, word + 4);
  }
  for (std::size_t i = 0; i < count_; ++i) {
    if (i == index) continue;
    const std::uint32_t offset = OffsetAt(i);
    StoreU32(word, offset > removedOffset ? offset - length : offset);
    next.insert(next.end(), word, word + 4);
  }
  const auto records = bytes_.begin() + static_cast<std::ptrdiff_t>(RecordsBase());
  next.insert(next.end(), records, bytes_.begin() + static_cast<std::ptrdiff_t>(sizeAt));
  next.insert(next.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(sizeAt + length), bytes_.end());
  bytes_ = std::move(next);
  --count_;
  parsed_.erase(parsed_.begin() + static_cast<std::ptrdiff_t>(index));
  handlers_.erase(handlers_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool UnitList::ReplaceChildren(std::size_t index, std::span<const UnitId> children) {
  const UnitRecord& record = Record(index);
  if (record.menuItem) return false;
  // The count and the ids follow the geometry, the cursor slot and the parent.
  const FieldRange field{record.geometryField.offset + 24, 4 + 4 * record.children.size()};
  std::vector<std::uint8_t> content(4 + 4 * children.size());
  StoreU32(content, static_cast<std::uint32_t>(children.size()));
  for (std::size_t i = 0; i < children.size(); ++i) StoreU32(std::span(content).subspan(4 + 4 * i, 4), children[i]);
  return ReplaceField(index, field, content);
}

}  // namespace forms
