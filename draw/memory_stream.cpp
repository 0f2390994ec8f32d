#include "draw/memory_stream.h"

#include <shlwapi.h>

#include <vector>

namespace draw {

MemoryStream::MemoryStream(std::span<const std::uint8_t> bytes)
    : stream_(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()))) {}

MemoryStream::~MemoryStream() {
  if (stream_) stream_->Release();
}

std::vector<std::uint8_t> MemoryStream::Bytes() const {
  std::vector<std::uint8_t> bytes;
  if (!stream_) return bytes;
  STATSTG stat{};
  if (FAILED(stream_->Stat(&stat, STATFLAG_NONAME))) return bytes;
  bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start{};
  stream_->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream_->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

}  // namespace draw
