#include "byte_source.h"

#include <cstring>
#include <vector>

namespace audiolib {
namespace {

class MemorySource final : public ByteSource {
public:
    MemorySource(const void* data, size_t size)
        : bytes_(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size) {}

    size_t read(void* buffer, size_t size) override {
        size_t left = bytes_.size() - position_;
        if (size > left) size = left;
        if (size) std::memcpy(buffer, bytes_.data() + position_, size);
        position_ += size;
        return size;
    }
    bool seek(int64_t position) override {
        if (position < 0 || position > size()) return false;
        position_ = static_cast<size_t>(position);
        return true;
    }
    int64_t tell() const override { return static_cast<int64_t>(position_); }
    int64_t size() const override { return static_cast<int64_t>(bytes_.size()); }

private:
    std::vector<unsigned char> bytes_;
    size_t position_ = 0;
};

} // namespace

std::unique_ptr<ByteSource> make_memory_source(const void* data, size_t size) {
    if (!data || size == 0) return nullptr;
    return std::make_unique<MemorySource>(data, size);
}

} // namespace audiolib
