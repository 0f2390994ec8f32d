// Host build: the same file range over stdio, so the portable core is tested on Linux.
#include "byte_source.h"

#include <cstdio>
#include <sys/stat.h>

namespace audiolib {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class FileSource final : public ByteSource {
public:
    FileSource(FilePtr file, int64_t offset, int64_t length)
        : file_(std::move(file)), offset_(offset), length_(length) {
        std::fseek(file_.get(), static_cast<long>(offset_), SEEK_SET);
    }
    size_t read(void* buffer, size_t size) override {
        int64_t left = length_ - position_;
        if (static_cast<int64_t>(size) > left) size = static_cast<size_t>(left);
        size_t got = size ? std::fread(buffer, 1, size, file_.get()) : 0;
        position_ += static_cast<int64_t>(got);
        return got;
    }
    bool seek(int64_t position) override {
        if (position < 0 || position > length_) return false;
        if (std::fseek(file_.get(), static_cast<long>(offset_ + position), SEEK_SET) != 0) return false;
        position_ = position;
        return true;
    }
    int64_t tell() const override { return position_; }
    int64_t size() const override { return length_; }

private:
    FilePtr file_;
    int64_t offset_;
    int64_t length_;
    int64_t position_ = 0;
};

} // namespace

std::unique_ptr<ByteSource> open_file_source(const char* name, int64_t offset, int64_t length) {
    struct stat info {};
    if (!name || offset < 0 || length < 0 || stat(name, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    FilePtr file(std::fopen(name, "rb"));
    if (!file) return nullptr;
    int64_t available = static_cast<int64_t>(info.st_size) - offset;
    if (available <= 0) return nullptr;
    if (length == 0 || length > available) length = available;
    return std::make_unique<FileSource>(std::move(file), offset, length);
}

} // namespace audiolib
