#include "decoder.h"

#include <cstring>
#include <fmt123.h>

namespace audiolib {

size_t PcmFormat::frame_bytes() const {
    return static_cast<size_t>(channels) * MPG123_SAMPLESIZE(encoding);
}

namespace {

enum class Kind { wav, vorbis, opus, flac, midi, ogg_other, mpeg };

bool starts_with(const unsigned char* bytes, size_t size, size_t at, const char* magic) {
    size_t length = std::strlen(magic);
    return at + length <= size && std::memcmp(bytes + at, magic, length) == 0;
}

// What the first bytes are. An Ogg stream tells its codec in the first packet of its first page,
// which starts after the 27-byte page header and the segment table.
Kind kind_of(ByteSource& source) {
    unsigned char head[512] = {};
    const size_t size = source.read(head, sizeof head);
    if (starts_with(head, size, 0, "RIFF") && starts_with(head, size, 8, "WAVE")) return Kind::wav;
    if (starts_with(head, size, 0, "fLaC")) return Kind::flac;
    if (starts_with(head, size, 0, "MThd") || (starts_with(head, size, 0, "RIFF") && starts_with(head, size, 8, "RMID")))
        return Kind::midi;
    if (starts_with(head, size, 0, "OggS") && size > 27) {
        size_t packet = 27 + head[26];
        if (starts_with(head, size, packet, "\x01vorbis")) return Kind::vorbis;
        if (starts_with(head, size, packet, "OpusHead")) return Kind::opus;
        return Kind::ogg_other;
    }
    // An ID3v2 tag (its size is four 7-bit bytes) may stand before FLAC as before MPEG audio.
    if (starts_with(head, size, 0, "ID3") && size >= 10) {
        int64_t tag = 10 + (int64_t{head[6] & 0x7F} << 21 | int64_t{head[7] & 0x7F} << 14 | int64_t{head[8] & 0x7F} << 7 |
                            int64_t{head[9] & 0x7F});
        if (head[5] & 0x10) tag += 10; // a footer follows the tag
        unsigned char magic[4] = {};
        if (source.seek(tag) && source.read(magic, 4) == 4 && std::memcmp(magic, "fLaC", 4) == 0) return Kind::flac;
    }
    return Kind::mpeg;
}

} // namespace

std::unique_ptr<Decoder> open_decoder(std::unique_ptr<ByteSource> source) {
    if (!source || source->size() <= 0) return nullptr;
    Kind kind = kind_of(*source);
    if (!source->seek(0)) return nullptr;
    // A file that says what it is goes to that decoder only: the MPEG decoder would hunt for frames in it.
    switch (kind) {
    case Kind::wav: return open_wav_decoder(source);
    case Kind::vorbis: return open_vorbis_decoder(std::move(source));
    case Kind::opus: return open_opus_decoder(std::move(source));
    case Kind::flac: return open_flac_decoder(std::move(source));
    case Kind::midi: return open_midi_decoder(std::move(source));
    case Kind::ogg_other: return nullptr;
    case Kind::mpeg: break;
    }
    return open_mp3_decoder(std::move(source));
}

} // namespace audiolib
