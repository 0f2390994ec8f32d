// RIFF/WAVE: PCM 8/16/24/32-bit, IEEE float 32/64-bit, also inside WAVE_FORMAT_EXTENSIBLE.
#include "decoder.h"

#include <cstring>
#include <fmt123.h>

namespace audiolib {
namespace {

constexpr uint16_t format_pcm = 1;
constexpr uint16_t format_float = 3;
constexpr uint16_t format_extensible = 0xFFFE;
// The tail every KSDATAFORMAT_SUBTYPE_* GUID shares after its two-byte format tag.
constexpr unsigned char subtype_tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

int encoding_for(uint16_t tag, unsigned bits) {
    if (tag == format_pcm) {
        switch (bits) {
        case 8: return MPG123_ENC_UNSIGNED_8;
        case 16: return MPG123_ENC_SIGNED_16;
        case 24: return MPG123_ENC_SIGNED_24;
        case 32: return MPG123_ENC_SIGNED_32;
        }
    } else if (tag == format_float) {
        if (bits == 32) return MPG123_ENC_FLOAT_32;
        if (bits == 64) return MPG123_ENC_FLOAT_64;
    }
    return 0;
}

class WavDecoder final : public Decoder {
public:
    WavDecoder(std::unique_ptr<ByteSource> source, PcmFormat format, int64_t data_start, int64_t frames)
        : source_(std::move(source)), format_(format), data_start_(data_start), frames_(frames) {
        source_->seek(data_start_);
    }
    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return frames_; }
    size_t read(void* out, size_t frames) override {
        int64_t left = frames_ - position_;
        if (static_cast<int64_t>(frames) > left) frames = static_cast<size_t>(left);
        size_t bytes = frames * format_.frame_bytes();
        size_t got = source_->read(out, bytes) / format_.frame_bytes();
        position_ += static_cast<int64_t>(got);
        // A short read leaves a partial frame behind; the next read starts on a frame again.
        if (got != frames) source_->seek(data_start_ + position_ * static_cast<int64_t>(format_.frame_bytes()));
        return got;
    }
    bool seek(int64_t frame) override {
        if (frame < 0 || frame > frames_) return false;
        if (!source_->seek(data_start_ + frame * static_cast<int64_t>(format_.frame_bytes()))) return false;
        position_ = frame;
        return true;
    }

private:
    std::unique_ptr<ByteSource> source_;
    PcmFormat format_;
    int64_t data_start_;
    int64_t frames_;
    int64_t position_ = 0;
};

} // namespace

std::unique_ptr<Decoder> open_wav_decoder(std::unique_ptr<ByteSource>& source) {
    unsigned char head[12];
    if (!source->seek(0) || source->read(head, 12) != 12) return nullptr;
    PcmFormat format;
    bool have_format = false;
    int64_t data_start = -1, data_size = 0;
    const int64_t end = source->size();
    for (;;) {
        unsigned char chunk[8];
        int64_t at = source->tell();
        if (end - at < 8 || source->read(chunk, 8) != 8) break;
        uint32_t size = le32(chunk + 4);
        int64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            unsigned char fmt[40] = {};
            size_t want = size < sizeof fmt ? size : sizeof fmt;
            if (source->read(fmt, want) != want) return nullptr;
            uint16_t tag = le16(fmt);
            unsigned channels = le16(fmt + 2);
            uint32_t rate = le32(fmt + 4);
            unsigned align = le16(fmt + 12);
            unsigned bits = le16(fmt + 14);
            if (tag == format_extensible) {
                if (want < 40 || std::memcmp(fmt + 26, subtype_tail, sizeof subtype_tail) != 0) return nullptr;
                tag = le16(fmt + 24);
            }
            format.encoding = encoding_for(tag, bits);
            format.channels = static_cast<int>(channels);
            format.rate = static_cast<long>(rate);
            if (format.encoding == 0 || channels < 1 || channels > 2 || rate < 1000 || rate > 384000 ||
                align != format.frame_bytes())
                return nullptr;
            have_format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            data_start = body;
            // Writers that stream leave the size at 0 or 0xFFFFFFFF; the file's end decides then.
            data_size = (size == 0 || size == 0xFFFFFFFFu || body + size > end) ? end - body : size;
            if (have_format) break;
        }
        int64_t next = body + static_cast<int64_t>(size) + (size & 1);
        if (next > end || !source->seek(next)) break;
    }
    if (!have_format || data_start < 0) return nullptr;
    int64_t frames = data_size / static_cast<int64_t>(format.frame_bytes());
    if (frames <= 0) return nullptr;
    return std::make_unique<WavDecoder>(std::move(source), format, data_start, frames);
}

} // namespace audiolib
