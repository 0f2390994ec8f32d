#pragma once
// The 12-byte cell a value travels in: low dword, high dword, tag. A 4-byte value sits in the
// low dword with the high dword 0; 8-byte values and pointers use both, low half first.
#include <cstdint>
#include <cstring>

#include "runtime/values/type_tag.h"
#include "runtime/values/unit_ref.h"

namespace runtime {

struct ValueCell {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  TypeTag tag = tags::None;

  std::uint64_t Bits() const { return (static_cast<std::uint64_t>(high) << 32) | low; }
  void SetBits(std::uint64_t bits) {
    low = static_cast<std::uint32_t>(bits);
    high = static_cast<std::uint32_t>(bits >> 32);
  }
  void* Pointer() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(Bits())); }

  std::int32_t AsInteger() const { return static_cast<std::int32_t>(low); }
  std::int64_t AsLong() const { return static_cast<std::int64_t>(Bits()); }
  float AsFloat() const {
    float value;
    std::memcpy(&value, &low, sizeof value);
    return value;
  }
  double AsDouble() const {
    const std::uint64_t bits = Bits();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  UnitRef AsUnit() const {
    return {static_cast<std::int32_t>(low), static_cast<std::int32_t>(high), tag};
  }

  static ValueCell Of(TypeTag tag, std::uint64_t bits) {
    ValueCell cell;
    cell.SetBits(bits);
    cell.tag = tag;
    return cell;
  }
  static ValueCell Byte(std::uint8_t value) { return Of(tags::Byte, value); }
  static ValueCell Short(std::int16_t value) { return Of(tags::Short, static_cast<std::uint16_t>(value)); }
  static ValueCell Integer(std::int32_t value) { return Of(tags::Integer, static_cast<std::uint32_t>(value)); }
  static ValueCell Long(std::int64_t value) { return Of(tags::Long, static_cast<std::uint64_t>(value)); }
  static ValueCell Float(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Of(tags::Float, bits);
  }
  static ValueCell Double(double value) { return Of(tags::Double, DoubleBits(value)); }
  static ValueCell Bool(bool value) { return Of(tags::Bool, value ? 1 : 0); }
  static ValueCell DateTime(double value) { return Of(tags::DateTime, DoubleBits(value)); }
  // Borrowed: the cell points at the block, ownership stays with the caller.
  static ValueCell Text(const char* block) { return Of(tags::Text, PointerBits(block)); }
  static ValueCell ByteSet(const void* block) { return Of(tags::ByteSet, PointerBits(block)); }
  static ValueCell Subprogram(const void* address) { return Of(tags::Subprogram, PointerBits(address)); }
  static ValueCell Unit(const UnitRef& unit) {
    ValueCell cell;
    cell.low = static_cast<std::uint32_t>(unit.window_id);
    cell.high = static_cast<std::uint32_t>(unit.unit_id);
    cell.tag = unit.kind;
    return cell;
  }
  // The caller's array block of members of `kind`.
  static ValueCell IndirectArray(TypeTag kind, const void* block) {
    return Of(IndirectTag(kind), PointerBits(block));
  }
  // The address of the caller's scalar variable of `kind`.
  static ValueCell IndirectVariable(TypeTag kind, void* variable) {
    return Of(IndirectTag(kind), PointerBits(variable));
  }

 private:
  static std::uint64_t DoubleBits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static std::uint64_t PointerBits(const void* pointer) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
  }
};

static_assert(sizeof(ValueCell) == 12, "a cell is low dword, high dword and tag");

}  // namespace runtime
