#include "runtime/values/byte_set_commands.h"

#include <algorithm>
#include <cstring>

#include "runtime/values/array_block.h"
#include "runtime/values/error_report.h"
#include "runtime/values/memory.h"

namespace runtime {
namespace {

TypeTag TagOfDataKind(std::int32_t kind) {
  static constexpr TypeTag kTags[] = {tags::Byte,   tags::Short, tags::Integer,  tags::Long,
                                      tags::Float,  tags::Double, tags::Bool,    tags::DateTime,
                                      tags::Subprogram, tags::Text};
  if (kind < 1 || kind > 10) ReportError(0, "“欲取出数据的类型”参数值无效");
  return kTags[kind - 1];
}

std::span<const std::uint8_t> BytesToWrite(const ValueCell& value, std::uint64_t& storage) {
  if (value.tag == tags::ByteSet) return ByteSetRef::FromBlock(value.Pointer()).span();
  if (value.tag == tags::Text) {
    const char* text = static_cast<const char*>(value.Pointer());
    if (text == nullptr) text = "";
    return {reinterpret_cast<const std::uint8_t*>(text), std::strlen(text) + 1};
  }
  if (IsIndirect(value.tag)) {
    if (!IsNumericKind(PlainTag(value.tag)) || value.Pointer() == nullptr) return {};
    return ArrayMemberBytes(value.Pointer(), PlainTag(value.tag));
  }
  if (ClassOf(value.tag) != TagClass::Basic) return {};
  storage = value.Bits();
  return {reinterpret_cast<const std::uint8_t*>(&storage), KindSize(value.tag)};
}

}  // namespace

std::int32_t ByteSetLength(ByteSetRef bytes) { return static_cast<std::int32_t>(bytes.size()); }

TextValue TextFromPointer(const void* address) { return TextValue(static_cast<const char*>(address)); }

ByteSet ByteSetFromPointer(const void* address, std::int32_t length) {
  if (address == nullptr || length <= 0) return {};
  return ByteSet({static_cast<const std::uint8_t*>(address), static_cast<std::size_t>(length)});
}

ByteSet ByteSetRight(ByteSetRef bytes, std::int32_t n) {
  const std::size_t take = std::min(static_cast<std::size_t>(std::max(n, 0)), bytes.size());
  return ByteSet(bytes.span().subspan(bytes.size() - take));
}

ByteSet ByteSetMiddle(ByteSetRef bytes, std::int32_t start, std::int32_t n) {
  const std::size_t offset = std::min(static_cast<std::size_t>(std::max(start, 1) - 1), bytes.size());
  const std::size_t take = std::min(static_cast<std::size_t>(std::max(n, 0)), bytes.size() - offset);
  return ByteSet(bytes.span().subspan(offset, take));
}

ByteSet ZeroBytes(std::int32_t n) { return ByteSet::Zeroed(n > 0 ? static_cast<std::size_t>(n) : 0); }

Value ReadTypedData(ByteSetRef bytes, std::int32_t kind, std::int32_t* position) {
  const TypeTag tag = TagOfDataKind(kind);
  const std::int32_t at = position ? *position : 1;
  // Holds the kind's 1..8 bytes, or the new text block's pointer.
  std::uint64_t slot = 0;
  if (at < 1 || static_cast<std::size_t>(at) > bytes.size()) {
    // Nothing to read there (also after a previous read set the position to -1).
    if (position) *position = -1;
    return Value::Adopt(ValueCell::Of(tag, 0));
  }
  const std::size_t offset = static_cast<std::size_t>(at - 1);
  const std::size_t consumed =
      StoreWithConversion(tag, &slot, bytes.data() + offset, bytes.size() - offset);
  Value value = Value::Adopt(ValueCell::Of(tag, slot));
  if (position) {
    const std::size_t next = offset + consumed;
    *position = next >= bytes.size() ? -1 : static_cast<std::int32_t>(next + 1);
  }
  return value;
}

void WriteToAddress(const ValueCell& value, void* address, std::optional<std::int32_t> length) {
  if (address == nullptr) return;
  std::uint64_t storage = 0;
  std::span<const std::uint8_t> source = BytesToWrite(value, storage);
  if (length && *length >= 0) source = source.first(std::min(source.size(), static_cast<std::size_t>(*length)));
  if (!source.empty()) std::memcpy(address, source.data(), source.size());
}

}  // namespace runtime
