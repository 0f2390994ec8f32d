// Windows: names arrive in the ANSI code page, so the file is opened through the A API.
#include "byte_source.h"

#include <windows.h>

namespace audiolib {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

class FileSource final : public ByteSource {
public:
    FileSource(FileHandle file, int64_t offset, int64_t length)
        : file_(std::move(file)), offset_(offset), length_(length) {
        seek(0);
    }
    size_t read(void* buffer, size_t size) override {
        int64_t left = length_ - position_;
        if (static_cast<int64_t>(size) > left) size = static_cast<size_t>(left);
        size_t total = 0;
        while (total < size) {
            DWORD chunk = static_cast<DWORD>(size - total > 0x10000000 ? 0x10000000 : size - total);
            DWORD got = 0;
            if (!ReadFile(file_.get(), static_cast<char*>(buffer) + total, chunk, &got, nullptr) || got == 0) break;
            total += got;
        }
        position_ += static_cast<int64_t>(total);
        return total;
    }
    bool seek(int64_t position) override {
        if (position < 0 || position > length_) return false;
        LARGE_INTEGER to;
        to.QuadPart = offset_ + position;
        if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return false;
        position_ = position;
        return true;
    }
    int64_t tell() const override { return position_; }
    int64_t size() const override { return length_; }

private:
    FileHandle file_;
    int64_t offset_;
    int64_t length_;
    int64_t position_ = 0;
};

} // namespace

std::unique_ptr<ByteSource> open_file_source(const char* name, int64_t offset, int64_t length) {
    if (!name || !*name || offset < 0 || length < 0) return nullptr;
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open, which is what we want.
    HANDLE raw = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return nullptr;
    FileHandle file(raw);
    LARGE_INTEGER size;
    if (GetFileType(raw) != FILE_TYPE_DISK || !GetFileSizeEx(raw, &size)) return nullptr;
    int64_t available = size.QuadPart - offset;
    if (available <= 0) return nullptr;
    if (length == 0 || length > available) length = available;
    return std::make_unique<FileSource>(std::move(file), offset, length);
}

} // namespace audiolib
