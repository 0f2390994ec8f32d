#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace forms {

// Bounds-checked little-endian reads over untrusted bytes. Any read past the end ends in the
// resource-load failure; nothing here returns a partial value.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data, std::size_t position = 0);

  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32();
  std::span<const std::uint8_t> Bytes(std::size_t count);
  void Skip(std::size_t count);

  // GBK bytes up to (not including) the terminating zero, which is consumed.
  std::string_view ZText();
  // u32 length, then the bytes.
  std::string_view CountedText();
  std::span<const std::uint8_t> CountedBytes();
  // u16 count (0xFFFF: a u32 count follows), then that many counted texts.
  std::vector<std::string_view> StringList();

  std::size_t Position() const { return position_; }
  std::size_t Remaining() const { return data_.size() - position_; }
  bool AtEnd() const { return position_ == data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_;
};

// Little-endian stores for the editor; the caller has checked the range.
void StoreU32(std::span<std::uint8_t> at, std::uint32_t value);
std::uint32_t LoadU32(std::span<const std::uint8_t> at);

}  // namespace forms
