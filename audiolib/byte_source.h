#pragma once
// Random-access bytes a decoder reads from: part of a file, or a private copy of caller memory.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace audiolib {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes at the current position; fewer only at the end or on a read error.
    virtual size_t read(void* buffer, size_t size) = 0;
    // Position 0 is the start of the range; false when outside [0, size()].
    virtual bool seek(int64_t position) = 0;
    virtual int64_t tell() const = 0;
    virtual int64_t size() const = 0;
};

// Copies the bytes, so the caller may release its block as soon as the stream exists.
std::unique_ptr<ByteSource> make_memory_source(const void* data, size_t size);

// Opens a file by a name in the system's narrow code page, from offset to offset + length
// (length 0: to the end). Null when the file cannot be opened or the range is empty.
std::unique_ptr<ByteSource> open_file_source(const char* name, int64_t offset, int64_t length);

} // namespace audiolib
