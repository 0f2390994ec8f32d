// Ogg Opus through libopusfile, read from our byte source; Opus always decodes at 48 kHz.
#include "decoder.h"

#include <algorithm>
#include <cstdio>
#include <fmt123.h>
#include <opusfile.h>

namespace audiolib {
namespace {

int read_source(void* source, unsigned char* buffer, int size) {
    return size <= 0 ? 0 : static_cast<int>(static_cast<ByteSource*>(source)->read(buffer, static_cast<size_t>(size)));
}

int seek_source(void* source, opus_int64 offset, int whence) {
    auto* bytes = static_cast<ByteSource*>(source);
    int64_t base = whence == SEEK_CUR ? bytes->tell() : whence == SEEK_END ? bytes->size() : 0;
    return bytes->seek(base + offset) ? 0 : -1;
}

opus_int64 tell_source(void* source) { return static_cast<ByteSource*>(source)->tell(); }

struct FileCloser {
    void operator()(OggOpusFile* file) const { op_free(file); }
};
using OpusFile = std::unique_ptr<OggOpusFile, FileCloser>;

constexpr long opus_rate = 48000;

class OpusDecoder final : public Decoder {
public:
    OpusDecoder(std::unique_ptr<ByteSource> source, OpusFile file, int channels)
        : source_(std::move(source)), file_(std::move(file)), format_{opus_rate, channels, MPG123_ENC_FLOAT_32} {
        ogg_int64_t frames = op_pcm_total(file_.get(), -1);
        length_ = frames >= 0 ? static_cast<int64_t>(frames) : -1;
        if (const OpusTags* tags = op_tags(file_.get(), -1))
            if (const char* title = opus_tags_query(tags, "TITLE", 0)) title_ = title;
    }
    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return length_; }
    size_t read(void* out, size_t frames) override {
        auto* samples = static_cast<float*>(out);
        const size_t channels = static_cast<size_t>(format_.channels);
        size_t filled = 0;
        while (filled < frames && !ended_) {
            int link = 0;
            size_t room = (frames - filled) * channels;
            int got = op_read_float(file_.get(), samples + filled * channels, static_cast<int>(std::min<size_t>(room, 1 << 20)), &link);
            if (got == OP_HOLE) continue; // a gap in the data: go on after it
            // A chained file whose next part has another channel count is cut there.
            if (got <= 0 || op_channel_count(file_.get(), link) != format_.channels) {
                ended_ = true;
                break;
            }
            filled += static_cast<size_t>(got);
        }
        return filled;
    }
    bool seek(int64_t frame) override {
        if (frame < 0 || op_pcm_seek(file_.get(), frame) != 0) return false;
        ended_ = false;
        return true;
    }
    std::string title() const override { return title_; }

private:
    std::unique_ptr<ByteSource> source_; // outlives file_, which reads from it
    OpusFile file_;
    PcmFormat format_;
    int64_t length_ = -1;
    std::string title_;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<Decoder> open_opus_decoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    static const OpusFileCallbacks callbacks{read_source, seek_source, tell_source, nullptr};
    int error = 0;
    OpusFile file(op_open_callbacks(source.get(), &callbacks, nullptr, 0, &error));
    if (!file) return nullptr;
    int channels = op_channel_count(file.get(), -1);
    if (channels < 1 || channels > 8) return nullptr;
    return std::make_unique<OpusDecoder>(std::move(source), std::move(file), channels);
}

} // namespace audiolib
