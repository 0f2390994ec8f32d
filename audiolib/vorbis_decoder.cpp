// Ogg Vorbis through libvorbisfile, read from our byte source, decoded on demand to 32-bit float.
#include "decoder.h"

#include <algorithm>
#include <cstdio>
#include <fmt123.h>
#include <vorbis/vorbisfile.h>

namespace audiolib {
namespace {

size_t read_source(void* buffer, size_t size, size_t count, void* source) {
    if (size == 0) return 0;
    return static_cast<ByteSource*>(source)->read(buffer, size * count) / size;
}

int seek_source(void* source, ogg_int64_t offset, int whence) {
    auto* bytes = static_cast<ByteSource*>(source);
    int64_t base = whence == SEEK_CUR ? bytes->tell() : whence == SEEK_END ? bytes->size() : 0;
    return bytes->seek(base + offset) ? 0 : -1;
}

long tell_source(void* source) { return static_cast<long>(static_cast<ByteSource*>(source)->tell()); }

struct FileCloser {
    void operator()(OggVorbis_File* file) const {
        ov_clear(file);
        delete file;
    }
};
using VorbisFile = std::unique_ptr<OggVorbis_File, FileCloser>;

class VorbisDecoder final : public Decoder {
public:
    VorbisDecoder(std::unique_ptr<ByteSource> source, VorbisFile file, PcmFormat format)
        : source_(std::move(source)), file_(std::move(file)), format_(format) {
        ogg_int64_t frames = ov_pcm_total(file_.get(), -1);
        length_ = frames >= 0 ? static_cast<int64_t>(frames) : -1;
        if (vorbis_comment* comments = ov_comment(file_.get(), -1))
            if (const char* title = vorbis_comment_query(comments, "TITLE", 0)) title_ = title;
    }
    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return length_; }
    size_t read(void* out, size_t frames) override {
        auto* samples = static_cast<float*>(out);
        const size_t channels = static_cast<size_t>(format_.channels);
        size_t filled = 0;
        while (filled < frames && !ended_) {
            float** planes = nullptr;
            int link = 0;
            long got = ov_read_float(file_.get(), &planes, static_cast<int>(std::min<size_t>(frames - filled, 4096)), &link);
            if (got == OV_HOLE) continue; // a gap in the data: go on after it
            if (got <= 0) {
                ended_ = true;
                break;
            }
            // A chained file whose next part changes shape is cut there rather than played wrongly.
            vorbis_info* info = ov_info(file_.get(), link);
            if (!info || info->rate != format_.rate || info->channels != format_.channels) {
                ended_ = true;
                break;
            }
            for (long f = 0; f < got; ++f)
                for (size_t c = 0; c < channels; ++c) samples[(filled + static_cast<size_t>(f)) * channels + c] = planes[c][f];
            filled += static_cast<size_t>(got);
        }
        return filled;
    }
    bool seek(int64_t frame) override {
        if (frame < 0 || ov_pcm_seek(file_.get(), frame) != 0) return false;
        ended_ = false;
        return true;
    }
    std::string title() const override { return title_; }

private:
    std::unique_ptr<ByteSource> source_; // outlives file_, which reads from it
    VorbisFile file_;
    PcmFormat format_;
    int64_t length_ = -1;
    std::string title_;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<Decoder> open_vorbis_decoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    static const ov_callbacks callbacks{read_source, seek_source, nullptr, tell_source};
    // A failed open clears the struct itself, which ov_clear then takes as it is.
    VorbisFile file(new OggVorbis_File{});
    if (ov_open_callbacks(source.get(), file.get(), nullptr, 0, callbacks) != 0) return nullptr;
    vorbis_info* info = ov_info(file.get(), -1);
    if (!info || info->channels < 1 || info->channels > 8 || info->rate < 1000 || info->rate > 384000) return nullptr;
    PcmFormat format{info->rate, info->channels, MPG123_ENC_FLOAT_32};
    return std::make_unique<VorbisDecoder>(std::move(source), std::move(file), format);
}

} // namespace audiolib
