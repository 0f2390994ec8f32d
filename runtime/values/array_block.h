#pragma once
// Arrays: a block { int32 dimension count d, int32 size of each dimension, elements }.
// Members are indexed from 1. An array variable is never null: a fresh or emptied array is the
// constant empty array { 1, 0 }. Texts and byte sets are stored as pointers to blocks the
// array owns (8 bytes each on x64).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"
#include "runtime/values/type_tag.h"

namespace runtime {

// The constant { 1, 0 }; it lies in a static range, so freeing it does nothing.
const void* ConstantEmptyArray();

// The members of an array block of `kind`, as raw bytes (borrowed).
std::span<const std::uint8_t> ArrayMemberBytes(const void* block, TypeTag kind);

// Owner of an array block of members of one kind, untyped.
class ArrayValue {
 public:
  explicit ArrayValue(TypeTag element_kind);
  // Takes over `block` (null counts as the empty array).
  static ArrayValue Adopt(TypeTag element_kind, void* block);
  // A fresh array of zero members. A single dimension may be 0, several must all be above 0
  // (error 10 otherwise).
  static ArrayValue WithSizes(TypeTag element_kind, std::span<const std::int32_t> sizes);

  ArrayValue(const ArrayValue& other);
  ArrayValue& operator=(const ArrayValue& other);
  ArrayValue(ArrayValue&& other) noexcept;
  ArrayValue& operator=(ArrayValue&& other) noexcept;
  ~ArrayValue();

  TypeTag element_kind() const { return kind_; }
  std::size_t element_size() const { return KindSize(kind_); }
  int dimension_count() const;
  std::vector<std::int32_t> sizes() const;
  std::size_t count() const;
  const void* block() const { return block_; }

  // Member addresses by 1-based index: below 1 is error 4, beyond the count error 1.
  const std::uint8_t* Member(std::int32_t index) const;
  // One index counts through all members; otherwise one per dimension (error 3).
  const std::uint8_t* Member(std::span<const std::int32_t> indices) const;
  // Copies a constant array into the heap first.
  std::uint8_t* MutableMember(std::int32_t index);
  std::uint8_t* MutableMember(std::span<const std::int32_t> indices);

  // Flattens to one dimension and adds a member of element_size() bytes; a text or byte-set
  // pointer in it now belongs to the array.
  void AppendRaw(const void* member);
  void MakeWritable();
  // Gives up the block; the owner is then the constant empty array.
  void* release();

 private:
  ArrayValue(TypeTag element_kind, void* block) : kind_(element_kind), block_(block) {}
  std::size_t MemberOffset(std::span<const std::int32_t> indices) const;
  std::size_t HeaderSize() const;
  void FreeBlock();

  TypeTag kind_;
  void* block_;
};

template <typename T> struct ArrayElement;
template <> struct ArrayElement<std::uint8_t> { static constexpr TypeTag kind = tags::Byte; };
template <> struct ArrayElement<std::int16_t> { static constexpr TypeTag kind = tags::Short; };
template <> struct ArrayElement<std::int32_t> { static constexpr TypeTag kind = tags::Integer; };
template <> struct ArrayElement<std::int64_t> { static constexpr TypeTag kind = tags::Long; };
template <> struct ArrayElement<float> { static constexpr TypeTag kind = tags::Float; };
template <> struct ArrayElement<double> { static constexpr TypeTag kind = tags::Double; };
template <> struct ArrayElement<TextValue> { static constexpr TypeTag kind = tags::Text; };
template <> struct ArrayElement<ByteSet> { static constexpr TypeTag kind = tags::ByteSet; };

// Typed access over ArrayValue. Text and byte-set members are read as borrowed refs and set
// by handing an owner in (the old member is freed).
template <typename T>
class Array {
  static constexpr bool kText = std::is_same_v<T, TextValue>;
  static constexpr bool kBytes = std::is_same_v<T, ByteSet>;
  using Read = std::conditional_t<kText, TextRef, std::conditional_t<kBytes, ByteSetRef, T>>;

 public:
  Array() : value_(ArrayElement<T>::kind) {}
  explicit Array(ArrayValue value) : value_(std::move(value)) {}
  Array(std::initializer_list<T> members) : Array() {
    for (const T& member : members) Append(T(member));
  }
  static Array Adopt(void* block) { return Array(ArrayValue::Adopt(ArrayElement<T>::kind, block)); }
  static Array WithSizes(std::span<const std::int32_t> sizes) {
    return Array(ArrayValue::WithSizes(ArrayElement<T>::kind, sizes));
  }

  std::size_t count() const { return value_.count(); }
  Read Get(std::int32_t index) const { return Decode(value_.Member(index)); }
  Read Get(std::span<const std::int32_t> indices) const { return Decode(value_.Member(indices)); }
  void Set(std::int32_t index, T member) { Store(value_.MutableMember(index), std::move(member)); }
  void Append(T member) {
    if constexpr (kText || kBytes) {
      auto* pointer = member.release();
      value_.AppendRaw(&pointer);
    } else {
      value_.AppendRaw(&member);
    }
  }

  ArrayValue& untyped() { return value_; }
  const ArrayValue& untyped() const { return value_; }
  const void* block() const { return value_.block(); }

 private:
  static Read Decode(const std::uint8_t* at) {
    if constexpr (kText) {
      const char* block;
      std::memcpy(&block, at, sizeof block);
      return TextRef(block);
    } else if constexpr (kBytes) {
      const void* block;
      std::memcpy(&block, at, sizeof block);
      return ByteSetRef::FromBlock(block);
    } else {
      T member;
      std::memcpy(&member, at, sizeof member);
      return member;
    }
  }
  static void Store(std::uint8_t* at, T member) {
    if constexpr (kText || kBytes) {
      using Block = std::conditional_t<kText, char*, void*>;
      Block old;
      std::memcpy(&old, at, sizeof old);
      Block fresh = member.release();
      std::memcpy(at, &fresh, sizeof fresh);
      T::Adopt(old);  // frees the old member
    } else {
      std::memcpy(at, &member, sizeof member);
    }
  }

  ArrayValue value_;
};

}  // namespace runtime
