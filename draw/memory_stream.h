#pragma once
// An IStream over a copy of some bytes, for decoding pictures held in memory.
#include <objidl.h>

#include <cstdint>
#include <span>
#include <vector>

namespace draw {

class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::span<const std::uint8_t> bytes);
  ~MemoryStream();
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  IStream* Get() const { return stream_; }
  explicit operator bool() const { return stream_ != nullptr; }
  // The whole content from the start (for streams written to).
  std::vector<std::uint8_t> Bytes() const;

 private:
  IStream* stream_ = nullptr;
};

}  // namespace draw
