#include "forms/byte_reader.h"

#include "forms/resource_error.h"

namespace forms {

ByteReader::ByteReader(std::span<const std::uint8_t> data, std::size_t position)
    : data_(data), position_(position) {
  if (position_ > data_.size()) FailResourceLoad();
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count) {
  if (count > Remaining()) FailResourceLoad();
  auto bytes = data_.subspan(position_, count);
  position_ += count;
  return bytes;
}

void ByteReader::Skip(std::size_t count) { Bytes(count); }

std::uint16_t ByteReader::U16() {
  auto b = Bytes(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteReader::U32() { return LoadU32(Bytes(4)); }

std::int32_t ByteReader::I32() { return static_cast<std::int32_t>(U32()); }

std::string_view ByteReader::ZText() {
  for (std::size_t end = position_; end < data_.size(); ++end) {
    if (data_[end] == 0) {
      std::string_view text(reinterpret_cast<const char*>(data_.data() + position_), end - position_);
      position_ = end + 1;
      return text;
    }
  }
  FailResourceLoad();
}

std::string_view ByteReader::CountedText() {
  auto bytes = CountedBytes();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::span<const std::uint8_t> ByteReader::CountedBytes() {
  std::uint32_t length = U32();
  return Bytes(length);
}

std::vector<std::string_view> ByteReader::StringList() {
  std::uint32_t count = U16();
  if (count == 0xFFFF) count = U32();
  // Each entry needs at least its length word: refuse counts the data cannot hold before
  // reserving anything.
  if (count > Remaining() / 4) FailResourceLoad();
  std::vector<std::string_view> items;
  items.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) items.push_back(CountedText());
  return items;
}

void StoreU32(std::span<std::uint8_t> at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
  at[2] = static_cast<std::uint8_t>(value >> 16);
  at[3] = static_cast<std::uint8_t>(value >> 24);
}

std::uint32_t LoadU32(std::span<const std::uint8_t> at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

}  // namespace forms
