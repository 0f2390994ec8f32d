#pragma once
// Byte sets: a block { int32 1, int32 length, bytes }, laid out like a one-dimensional byte
// array. The empty byte set is the null block; a block of length 0 is never made.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace runtime {

class ByteSet;

// A borrowed byte-set argument: an owner, a raw block or plain bytes.
class ByteSetRef {
 public:
  ByteSetRef() = default;
  ByteSetRef(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  ByteSetRef(const ByteSet& set);
  // Null gives the empty byte set.
  static ByteSetRef FromBlock(const void* block);

  const std::uint8_t* data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }
  bool empty() const { return bytes_.empty(); }
  std::span<const std::uint8_t> span() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Owner of one byte-set block. Copies copy the bytes; assignment frees the old block.
class ByteSet {
 public:
  ByteSet() = default;
  explicit ByteSet(std::span<const std::uint8_t> bytes);
  ByteSet(std::initializer_list<std::uint8_t> bytes)
      : ByteSet(std::span<const std::uint8_t>(bytes.begin(), bytes.size())) {}
  // `size` bytes, all zero.
  static ByteSet Zeroed(std::size_t size);
  static ByteSet Adopt(void* block);

  ByteSet(const ByteSet& other);
  ByteSet& operator=(const ByteSet& other);
  ByteSet(ByteSet&& other) noexcept;
  ByteSet& operator=(ByteSet&& other) noexcept;
  ~ByteSet();

  // Null for the empty byte set.
  const void* block() const { return block_; }
  std::size_t size() const;
  bool empty() const { return block_ == nullptr; }
  const std::uint8_t* data() const;
  std::uint8_t* data();
  std::span<const std::uint8_t> span() const { return {data(), size()}; }

  void* release();
  void Reset(void* block = nullptr);

 private:
  void* block_ = nullptr;
};

inline ByteSetRef::ByteSetRef(const ByteSet& set) : bytes_(set.span()) {}

// The bytes of all parts in order.
ByteSet JoinByteSets(std::initializer_list<ByteSetRef> parts);

}  // namespace runtime
