#include "runtime/values/array_block.h"

#include <algorithm>
#include <utility>

#include "runtime/values/error_report.h"
#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"

namespace runtime {
namespace {

constexpr std::int32_t kEmptyArray[2] = {1, 0};

std::int32_t WordAt(const void* block, std::size_t index) {
  std::int32_t word;
  std::memcpy(&word, static_cast<const std::uint8_t*>(block) + 4 * index, sizeof word);
  return word;
}

}  // namespace

const void* ConstantEmptyArray() { return kEmptyArray; }

std::span<const std::uint8_t> ArrayMemberBytes(const void* block, TypeTag kind) {
  const std::int32_t dimensions = WordAt(block, 0);
  std::size_t count = 1;
  for (std::int32_t i = 0; i < dimensions; ++i) {
    count *= static_cast<std::size_t>(std::max(WordAt(block, static_cast<std::size_t>(i) + 1), 0));
  }
  const auto* members = static_cast<const std::uint8_t*>(block) + (static_cast<std::size_t>(dimensions) + 1) * 4;
  return {members, count * KindSize(kind)};
}

ArrayValue::ArrayValue(TypeTag element_kind)
    : kind_(PlainTag(element_kind)), block_(const_cast<void*>(ConstantEmptyArray())) {}

ArrayValue ArrayValue::Adopt(TypeTag element_kind, void* block) {
  if (block == nullptr) return ArrayValue(element_kind);
  return ArrayValue(PlainTag(element_kind), block);
}

ArrayValue ArrayValue::WithSizes(TypeTag element_kind, std::span<const std::int32_t> sizes) {
  std::uint64_t count = 1;
  bool too_large = false;
  for (std::int32_t size : sizes) {
    const bool valid = sizes.size() == 1 ? size >= 0 : size > 0;
    if (!valid) ReportError(error_codes::RedimensionNonPositive);
    if (too_large) continue;
    count *= static_cast<std::uint64_t>(size);  // below 2^31 times below 2^31: no wrap
    too_large = count > 0x7FFFFFFF;               // the count must fit an int32 header word
  }
  if (sizes.size() == 1 && count == 0) return ArrayValue(element_kind);
  const std::size_t header = (sizes.size() + 1) * 4;
  const std::size_t bytes = header + static_cast<std::size_t>(count) * KindSize(element_kind);
  if (too_large) ReportAllocationFailure(bytes);
  auto* block = static_cast<std::uint8_t*>(Allocate(bytes));
  std::memset(block, 0, bytes);  // null texts, zero numbers
  const auto dimensions = static_cast<std::int32_t>(sizes.size());
  std::memcpy(block, &dimensions, 4);
  if (!sizes.empty()) std::memcpy(block + 4, sizes.data(), 4 * sizes.size());
  return ArrayValue(PlainTag(element_kind), block);
}

ArrayValue::ArrayValue(const ArrayValue& other) : ArrayValue(other.kind_) {
  if (other.count() == 0 && other.dimension_count() == 1) return;
  const std::size_t bytes = other.HeaderSize() + other.count() * other.element_size();
  auto* copy = static_cast<std::uint8_t*>(Allocate(bytes));
  std::memcpy(copy, other.block_, bytes);
  block_ = copy;
  if (!IsBlockKind(kind_)) return;
  // Each member gets its own copy of the text or byte set. The slots start out null so that
  // the copy never frees the other array's members, whatever happens half way.
  std::uint8_t* slots = copy + HeaderSize();
  const std::uint8_t* originals = static_cast<const std::uint8_t*>(other.block_) + HeaderSize();
  std::memset(slots, 0, count() * sizeof(void*));
  for (std::size_t i = 0; i < count(); ++i) {
    void* member;
    std::memcpy(&member, originals + i * sizeof(void*), sizeof member);
    void* fresh = kind_ == tags::Text ? static_cast<void*>(TextValue(static_cast<const char*>(member)).release())
                                      : ByteSet(ByteSetRef::FromBlock(member).span()).release();
    std::memcpy(slots + i * sizeof(void*), &fresh, sizeof fresh);
  }
}

ArrayValue& ArrayValue::operator=(const ArrayValue& other) {
  if (this != &other) *this = ArrayValue(other);
  return *this;
}

ArrayValue::ArrayValue(ArrayValue&& other) noexcept
    : kind_(other.kind_), block_(std::exchange(other.block_, const_cast<void*>(ConstantEmptyArray()))) {}

ArrayValue& ArrayValue::operator=(ArrayValue&& other) noexcept {
  if (this != &other) {
    FreeBlock();
    kind_ = other.kind_;
    block_ = std::exchange(other.block_, const_cast<void*>(ConstantEmptyArray()));
  }
  return *this;
}

ArrayValue::~ArrayValue() { FreeBlock(); }

void ArrayValue::FreeBlock() {
  // A constant array's members are constants too.
  if (IsBlockKind(kind_) && !ProcessStaticRanges().Contains(block_)) {
    const auto* members = static_cast<const std::uint8_t*>(block_) + HeaderSize();
    for (std::size_t i = 0; i < count(); ++i) {
      void* member;
      std::memcpy(&member, members + i * sizeof(void*), sizeof member);
      Free(member);
    }
  }
  Free(block_);
  block_ = const_cast<void*>(ConstantEmptyArray());
}

int ArrayValue::dimension_count() const { return WordAt(block_, 0); }

std::vector<std::int32_t> ArrayValue::sizes() const {
  std::vector<std::int32_t> result;
  for (int i = 0; i < dimension_count(); ++i) result.push_back(WordAt(block_, i + 1));
  return result;
}

std::size_t ArrayValue::count() const {
  std::size_t count = 1;
  for (int i = 0; i < dimension_count(); ++i) {
    count *= static_cast<std::size_t>(std::max(WordAt(block_, i + 1), 0));
  }
  return count;
}

std::size_t ArrayValue::HeaderSize() const {
  return (static_cast<std::size_t>(dimension_count()) + 1) * 4;
}

std::size_t ArrayValue::MemberOffset(std::span<const std::int32_t> indices) const {
  const int dimensions = dimension_count();
  if (indices.size() == 1) {
    // Checked in this order on every access: below 1 first, then beyond the count.
    if (indices[0] < 1) ReportError(error_codes::IndexBelowOne);
    if (static_cast<std::size_t>(indices[0]) > count()) ReportError(error_codes::IndexBeyondRange);
    return static_cast<std::size_t>(indices[0] - 1);
  }
  if (static_cast<int>(indices.size()) != dimensions) ReportError(error_codes::DimensionMismatch);
  std::size_t offset = 0;
  for (int i = 0; i < dimensions; ++i) {
    const std::int32_t index = indices[static_cast<std::size_t>(i)];
    const std::int32_t size = WordAt(block_, i + 1);
    if (index < 1) ReportError(error_codes::IndexBelowOne);
    if (index > size) ReportError(error_codes::IndexBeyondRange);
    offset = offset * static_cast<std::size_t>(size) + static_cast<std::size_t>(index - 1);
  }
  return offset;
}

const std::uint8_t* ArrayValue::Member(std::int32_t index) const {
  return Member(std::span<const std::int32_t>(&index, 1));
}

const std::uint8_t* ArrayValue::Member(std::span<const std::int32_t> indices) const {
  const std::size_t offset = MemberOffset(indices);
  return static_cast<const std::uint8_t*>(block_) + HeaderSize() + offset * element_size();
}

std::uint8_t* ArrayValue::MutableMember(std::int32_t index) {
  return MutableMember(std::span<const std::int32_t>(&index, 1));
}

std::uint8_t* ArrayValue::MutableMember(std::span<const std::int32_t> indices) {
  const std::size_t offset = MemberOffset(indices);  // report before copying anything
  MakeWritable();
  return static_cast<std::uint8_t*>(block_) + HeaderSize() + offset * element_size();
}

void ArrayValue::AppendRaw(const void* member) { AppendMember(&block_, element_size(), member); }

// Members of a constant array point at constants, which Free ignores, so copying the
// pointers is enough.
void ArrayValue::MakeWritable() { MakeArrayWritable(&block_, element_size()); }

void* ArrayValue::release() { return std::exchange(block_, const_cast<void*>(ConstantEmptyArray())); }

}  // namespace runtime
