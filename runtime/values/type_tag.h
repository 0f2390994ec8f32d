#pragma once
// The 32-bit tag every value carries across the command interface, and what a tag tells.
#include <cstddef>
#include <cstdint>

namespace runtime {

using TypeTag = std::uint32_t;

namespace tags {
inline constexpr TypeTag None = 0;
inline constexpr TypeTag Byte = 0x80000101;
inline constexpr TypeTag Short = 0x80000201;
inline constexpr TypeTag Integer = 0x80000301;
inline constexpr TypeTag Long = 0x80000401;
inline constexpr TypeTag Float = 0x80000501;
inline constexpr TypeTag Double = 0x80000601;
inline constexpr TypeTag Bool = 0x80000002;
inline constexpr TypeTag DateTime = 0x80000003;
inline constexpr TypeTag Text = 0x80000004;
inline constexpr TypeTag ByteSet = 0x80000005;
inline constexpr TypeTag Subprogram = 0x80000006;
// Set on a basic tag: the cell holds the address of the caller's variable or array block.
inline constexpr TypeTag IndirectFlag = 0x20000000;
}  // namespace tags

enum class TagClass { None, Basic, Library, Record };

constexpr TagClass ClassOf(TypeTag tag) {
  const auto value = static_cast<std::int32_t>(tag);
  if (value == 0) return TagClass::None;
  if (value < -0x40000000) return TagClass::Basic;
  if (value >= 0x00010000 && value <= 0x3FFFFFFF) return TagClass::Library;
  return TagClass::Record;
}

constexpr bool IsIndirect(TypeTag tag) {
  return ClassOf(tag) == TagClass::Basic && (tag & tags::IndirectFlag) != 0;
}
constexpr TypeTag PlainTag(TypeTag tag) {
  return ClassOf(tag) == TagClass::Basic ? tag & ~tags::IndirectFlag : tag;
}
constexpr TypeTag IndirectTag(TypeTag tag) { return tag | tags::IndirectFlag; }

// 1-based number of the command library that defines a library type, and the type's index in it.
constexpr int LibraryNumber(TypeTag tag) { return static_cast<int>(tag >> 16); }
constexpr int LibraryTypeIndex(TypeTag tag) { return static_cast<int>(tag & 0xFFFF); }
constexpr TypeTag LibraryType(int library, int index) {
  return (static_cast<TypeTag>(library) << 16) | static_cast<TypeTag>(index & 0xFFFF);
}

constexpr bool IsNumericKind(TypeTag tag) {
  switch (tag) {
    case tags::Byte: case tags::Short: case tags::Integer:
    case tags::Long: case tags::Float: case tags::Double:
      return true;
    default:
      return false;
  }
}

// Bytes one value of a basic kind takes in a variable or array member; 0 for other tags.
// Texts, byte sets and subprogram pointers are pointers, 8 bytes on x64.
constexpr std::size_t KindSize(TypeTag tag) {
  switch (PlainTag(tag)) {
    case tags::Byte: return 1;
    case tags::Short: return 2;
    case tags::Integer: case tags::Float: case tags::Bool: return 4;
    case tags::Long: case tags::Double: case tags::DateTime: return 8;
    case tags::Text: case tags::ByteSet: case tags::Subprogram: return sizeof(void*);
    default: return 0;
  }
}

// Members of these kinds are blocks the holding array owns.
constexpr bool IsBlockKind(TypeTag tag) {
  return PlainTag(tag) == tags::Text || PlainTag(tag) == tags::ByteSet;
}

}  // namespace runtime
