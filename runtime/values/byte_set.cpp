#include "runtime/values/byte_set.h"

#include <cstring>
#include <utility>
#include <vector>

#include "runtime/values/memory.h"

namespace runtime {
namespace {

constexpr std::size_t kHeader = 8;

std::int32_t LengthOf(const void* block) {
  std::int32_t length;
  std::memcpy(&length, static_cast<const std::uint8_t*>(block) + 4, sizeof length);
  return length;
}

void* MakeBlock(std::size_t size) {
  if (size == 0) return nullptr;
  // The length must fit its int32 field.
  if (size > 0x7FFFFFFF) ReportAllocationFailure(kHeader + size);
  auto* block = static_cast<std::uint8_t*>(Allocate(kHeader + size));
  const std::int32_t header[2] = {1, static_cast<std::int32_t>(size)};
  std::memcpy(block, header, sizeof header);
  return block;
}

}  // namespace

ByteSetRef ByteSetRef::FromBlock(const void* block) {
  if (block == nullptr) return {};
  const std::int32_t length = LengthOf(block);
  if (length <= 0) return {};
  return ByteSetRef(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(block) + kHeader,
                                                  static_cast<std::size_t>(length)));
}

ByteSet::ByteSet(std::span<const std::uint8_t> bytes) : block_(MakeBlock(bytes.size())) {
  if (block_) std::memcpy(data(), bytes.data(), bytes.size());
}

ByteSet ByteSet::Zeroed(std::size_t size) {
  ByteSet set = Adopt(MakeBlock(size));
  if (!set.empty()) std::memset(set.data(), 0, size);
  return set;
}

ByteSet ByteSet::Adopt(void* block) {
  ByteSet set;
  if (block != nullptr && LengthOf(block) <= 0) {
    Free(block);
    block = nullptr;
  }
  set.block_ = block;
  return set;
}

ByteSet::ByteSet(const ByteSet& other) : ByteSet(other.span()) {}

ByteSet& ByteSet::operator=(const ByteSet& other) {
  if (this != &other) *this = ByteSet(other);
  return *this;
}

ByteSet::ByteSet(ByteSet&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

ByteSet& ByteSet::operator=(ByteSet&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.block_, nullptr));
  return *this;
}

ByteSet::~ByteSet() { Free(block_); }

std::size_t ByteSet::size() const { return ByteSetRef::FromBlock(block_).size(); }

const std::uint8_t* ByteSet::data() const {
  return block_ ? static_cast<const std::uint8_t*>(block_) + kHeader : nullptr;
}

std::uint8_t* ByteSet::data() { return block_ ? static_cast<std::uint8_t*>(block_) + kHeader : nullptr; }

void* ByteSet::release() { return std::exchange(block_, nullptr); }

void ByteSet::Reset(void* block) { Free(std::exchange(block_, block)); }

ByteSet JoinByteSets(std::initializer_list<ByteSetRef> parts) {
  std::size_t total = 0;
  for (const ByteSetRef& part : parts) total += part.size();
  ByteSet joined = ByteSet::Adopt(MakeBlock(total));
  std::uint8_t* out = joined.data();
  for (const ByteSetRef& part : parts) {
    if (part.empty()) continue;
    std::memcpy(out, part.data(), part.size());
    out += part.size();
  }
  return joined;
}

}  // namespace runtime
