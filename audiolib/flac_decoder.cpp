// FLAC through libFLAC's stream decoder, read from our byte source, handed out as 32-bit float.
#include "decoder.h"

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fmt123.h>
#include <vector>

namespace audiolib {
namespace {

struct DecoderDeleter {
    void operator()(FLAC__StreamDecoder* decoder) const { FLAC__stream_decoder_delete(decoder); }
};
using FlacHandle = std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter>;

// Whether a Vorbis comment ("NAME=value") names the field, in any case; value is what follows.
bool field_of(const FLAC__StreamMetadata_VorbisComment_Entry& entry, const char* name, std::string& value) {
    size_t length = std::strlen(name);
    if (entry.length <= length || entry.entry[length] != '=') return false;
    for (size_t i = 0; i < length; ++i)
        if (std::toupper(entry.entry[i]) != name[i]) return false;
    value.assign(reinterpret_cast<const char*>(entry.entry) + length + 1, entry.length - length - 1);
    return true;
}

class FlacDecoder final : public Decoder {
public:
    explicit FlacDecoder(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}

    // Reads the metadata; false when this is no FLAC stream we can play.
    bool open() {
        handle_.reset(FLAC__stream_decoder_new());
        if (!handle_) return false;
        FLAC__stream_decoder_set_metadata_respond(handle_.get(), FLAC__METADATA_TYPE_VORBIS_COMMENT);
        if (FLAC__stream_decoder_init_stream(handle_.get(), read_callback, seek_callback, tell_callback, length_callback,
                                             eof_callback, write_callback, metadata_callback, error_callback,
                                             this) != FLAC__STREAM_DECODER_INIT_STATUS_OK ||
            !FLAC__stream_decoder_process_until_end_of_metadata(handle_.get()) || format_.rate == 0)
            return false;
        // The block the write callback keeps is sized once here, not while playing.
        pending_.reserve(max_block_ * static_cast<size_t>(format_.channels));
        return true;
    }

    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return length_; }
    size_t read(void* out, size_t frames) override {
        auto* samples = static_cast<float*>(out);
        const size_t channels = static_cast<size_t>(format_.channels);
        size_t filled = 0;
        while (filled < frames) {
            if (taken_ == pending_.size()) {
                pending_.clear();
                taken_ = 0;
                if (ended_ || !FLAC__stream_decoder_process_single(handle_.get()) ||
                    FLAC__stream_decoder_get_state(handle_.get()) == FLAC__STREAM_DECODER_END_OF_STREAM)
                    ended_ = true;
                if (pending_.empty()) {
                    if (ended_) break;
                    continue;
                }
            }
            size_t take = std::min((pending_.size() - taken_) / channels, frames - filled);
            std::memcpy(samples + filled * channels, pending_.data() + taken_, take * channels * sizeof(float));
            taken_ += take * channels;
            filled += take;
        }
        return filled;
    }
    bool seek(int64_t frame) override {
        if (frame < 0 || (length_ >= 0 && frame > length_)) return false;
        pending_.clear();
        taken_ = 0;
        ended_ = false;
        if (length_ >= 0 && frame == length_) {
            ended_ = true; // nothing after the last frame; libFLAC refuses to seek there
            return true;
        }
        if (FLAC__stream_decoder_seek_absolute(handle_.get(), static_cast<FLAC__uint64>(frame))) return true;
        // A failed seek leaves the decoder to be flushed before it reads again.
        if (FLAC__stream_decoder_get_state(handle_.get()) == FLAC__STREAM_DECODER_SEEK_ERROR)
            FLAC__stream_decoder_flush(handle_.get());
        return false;
    }
    std::string title() const override { return title_; }

private:
    static FlacDecoder& self(void* data) { return *static_cast<FlacDecoder*>(data); }

    static FLAC__StreamDecoderReadStatus read_callback(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* bytes,
                                                       void* data) {
        if (*bytes == 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
        *bytes = self(data).source_->read(buffer, *bytes);
        return *bytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    }
    static FLAC__StreamDecoderSeekStatus seek_callback(const FLAC__StreamDecoder*, FLAC__uint64 offset, void* data) {
        return self(data).source_->seek(static_cast<int64_t>(offset)) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
                                                                      : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
    }
    static FLAC__StreamDecoderTellStatus tell_callback(const FLAC__StreamDecoder*, FLAC__uint64* offset, void* data) {
        *offset = static_cast<FLAC__uint64>(self(data).source_->tell());
        return FLAC__STREAM_DECODER_TELL_STATUS_OK;
    }
    static FLAC__StreamDecoderLengthStatus length_callback(const FLAC__StreamDecoder*, FLAC__uint64* length, void* data) {
        *length = static_cast<FLAC__uint64>(self(data).source_->size());
        return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
    }
    static FLAC__bool eof_callback(const FLAC__StreamDecoder*, void* data) {
        const ByteSource& source = *self(data).source_;
        return source.tell() >= source.size();
    }
    static FLAC__StreamDecoderWriteStatus write_callback(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                         const FLAC__int32* const buffer[], void* data) {
        FlacDecoder& decoder = self(data);
        const PcmFormat& format = decoder.format_;
        // A frame of another shape than the stream info promised ends the stream there.
        if (static_cast<int>(frame->header.channels) != format.channels ||
            frame->header.bits_per_sample != decoder.bits_ || frame->header.blocksize > decoder.max_block_)
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        const float scale = 1.0f / static_cast<float>(1u << (decoder.bits_ - 1));
        for (unsigned f = 0; f < frame->header.blocksize; ++f)
            for (int c = 0; c < format.channels; ++c) decoder.pending_.push_back(static_cast<float>(buffer[c][f]) * scale);
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }
    static void metadata_callback(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* metadata, void* data) {
        FlacDecoder& decoder = self(data);
        if (metadata->type == FLAC__METADATA_TYPE_STREAMINFO) {
            const auto& info = metadata->data.stream_info;
            if (info.channels < 1 || info.channels > 8 || info.bits_per_sample < 4 || info.bits_per_sample > 32 ||
                info.sample_rate == 0 || info.max_blocksize == 0)
                return;
            decoder.format_ = {static_cast<long>(info.sample_rate), static_cast<int>(info.channels), MPG123_ENC_FLOAT_32};
            decoder.bits_ = info.bits_per_sample;
            decoder.max_block_ = info.max_blocksize;
            decoder.length_ = info.total_samples > 0 ? static_cast<int64_t>(info.total_samples) : -1;
        } else if (metadata->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
            const auto& comments = metadata->data.vorbis_comment;
            for (FLAC__uint32 i = 0; i < comments.num_comments && decoder.title_.empty(); ++i)
                field_of(comments.comments[i], "TITLE", decoder.title_);
        }
    }
    static void error_callback(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {
        // Damaged frames are skipped; libFLAC finds the next one by itself.
    }

    std::unique_ptr<ByteSource> source_; // outlives handle_, which reads from it
    FlacHandle handle_;
    PcmFormat format_;
    unsigned bits_ = 0;
    unsigned max_block_ = 0;
    int64_t length_ = -1;
    std::string title_;
    std::vector<float> pending_; // decoded frames not yet read, interleaved
    size_t taken_ = 0;           // samples of pending_ already read
    bool ended_ = false;
};

} // namespace

std::unique_ptr<Decoder> open_flac_decoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    auto decoder = std::make_unique<FlacDecoder>(std::move(source));
    if (!decoder->open()) return nullptr;
    return decoder;
}

} // namespace audiolib
