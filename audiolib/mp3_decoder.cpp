// MPEG audio through libmpg123, read from our byte source and decoded on demand to 32-bit float.
#include "decoder.h"

#include <cstring>
#include <mpg123.h>
#include <sys/types.h>

namespace audiolib {
namespace {

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Mpg123Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

// libmpg123 calls these with our ByteSource as its I/O handle.
ssize_t read_source(void* handle, void* buffer, size_t size) {
    return static_cast<ssize_t>(static_cast<ByteSource*>(handle)->read(buffer, size));
}

off_t seek_source(void* handle, off_t offset, int whence) {
    auto* source = static_cast<ByteSource*>(handle);
    int64_t base = whence == SEEK_CUR ? source->tell() : whence == SEEK_END ? source->size() : 0;
    if (!source->seek(base + offset)) return -1;
    return static_cast<off_t>(source->tell());
}

std::string text_of(const mpg123_string* text) {
    if (!text || !text->p || text->fill == 0) return {};
    return std::string(text->p, strnlen(text->p, text->fill));
}

class Mp3Decoder final : public Decoder {
public:
    Mp3Decoder(std::unique_ptr<ByteSource> source, Mpg123Handle handle, PcmFormat format, std::string title)
        : source_(std::move(source)), handle_(std::move(handle)), format_(format), title_(std::move(title)) {
        off_t frames = mpg123_length(handle_.get());
        length_ = frames > 0 ? static_cast<int64_t>(frames) : -1;
    }
    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return length_; }
    size_t read(void* out, size_t frames) override {
        if (ended_) return 0;
        const size_t frame_bytes = format_.frame_bytes();
        auto* bytes = static_cast<unsigned char*>(out);
        size_t filled = 0, want = frames * frame_bytes;
        while (filled < want) {
            size_t done = 0;
            int result = mpg123_read(handle_.get(), bytes + filled, want - filled, &done);
            filled += done;
            if (result == MPG123_OK) continue;
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0, encoding = 0;
                mpg123_getformat(handle_.get(), &rate, &channels, &encoding);
                // A stream that changes shape half way is cut there rather than played wrongly.
                if (rate == format_.rate && channels == format_.channels) continue;
            }
            ended_ = true;
            break;
        }
        return filled / frame_bytes;
    }
    bool seek(int64_t frame) override {
        if (frame < 0) return false;
        off_t at = mpg123_seek(handle_.get(), static_cast<off_t>(frame), SEEK_SET);
        if (at < 0) return false;
        ended_ = false;
        return true;
    }
    std::string title() const override { return title_; }

private:
    std::unique_ptr<ByteSource> source_; // outlives handle_, which reads from it
    Mpg123Handle handle_;
    PcmFormat format_;
    std::string title_;
    int64_t length_ = -1;
    bool ended_ = false;
};

std::string read_title(mpg123_handle* handle) {
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if (mpg123_id3(handle, &v1, &v2) != MPG123_OK) return {};
    if (v2) {
        std::string title = text_of(v2->title);
        if (!title.empty()) return title;
    }
    if (v1) {
        std::string title(v1->title, strnlen(v1->title, sizeof v1->title));
        while (!title.empty() && title.back() == ' ') title.pop_back();
        // ID3v1 has no declared encoding; only plain ASCII is passed on as UTF-8.
        for (unsigned char c : title)
            if (c >= 0x80) return {};
        return title;
    }
    return {};
}

} // namespace

std::unique_ptr<Decoder> open_mp3_decoder(std::unique_ptr<ByteSource> source) {
#if MPG123_API_VERSION < 46
    static const int initialised = mpg123_init();
    (void)initialised;
#endif
    int error = 0;
    Mpg123Handle handle(mpg123_new(nullptr, &error));
    if (!handle) return nullptr;
    mpg123_handle* mh = handle.get();
    mpg123_param(mh, MPG123_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_NO_FRANKENSTEIN, 0);
    // Junk before the first frame is tolerated only so far: random bytes must not pass for MPEG.
    mpg123_param(mh, MPG123_RESYNC_LIMIT, 4096, 0);
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_replace_reader_handle(mh, read_source, seek_source, nullptr) != MPG123_OK) return nullptr;
    if (mpg123_open_handle(mh, source.get()) != MPG123_OK) return nullptr;
    PcmFormat format;
    long rate = 0;
    if (mpg123_getformat(mh, &rate, &format.channels, &format.encoding) != MPG123_OK) return nullptr;
    format.rate = rate;
    mpg123_frameinfo info {};
    if (mpg123_info(mh, &info) != MPG123_OK || (info.layer != 2 && info.layer != 3)) return nullptr;
    // The first frame must decode, otherwise the sync was a chance match in something else.
    unsigned char probe[4608 * 8];
    size_t done = 0;
    int result = mpg123_read(mh, probe, sizeof probe, &done);
    if ((result != MPG123_OK && result != MPG123_DONE) || done == 0) return nullptr;
    if (mpg123_seek(mh, 0, SEEK_SET) < 0) return nullptr;
    std::string title = read_title(mh);
    return std::make_unique<Mp3Decoder>(std::move(source), std::move(handle), format, std::move(title));
}

} // namespace audiolib
