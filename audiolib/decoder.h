#pragma once
// A decoder turns a byte source into PCM frames in the source's own rate, channels and encoding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "byte_source.h"

namespace audiolib {

struct PcmFormat {
    long rate = 0;
    int channels = 0;
    int encoding = 0; // an MPG123_ENC_* value, as syn123 takes it
    size_t frame_bytes() const;
};

class Decoder {
public:
    virtual ~Decoder() = default;
    virtual const PcmFormat& format() const = 0;
    // Frames in the whole source; -1 when unknown.
    virtual int64_t length() const = 0;
    // Reads up to frames frames; fewer only at the end (or when the data turns bad).
    virtual size_t read(void* out, size_t frames) = 0;
    virtual bool seek(int64_t frame) = 0;
    // Title from the source's tags, UTF-8; empty when there is none.
    virtual std::string title() const { return {}; }
};

// Chosen by the bytes, never by a name: RIFF/WAVE, Ogg Vorbis, Ogg Opus, FLAC, standard MIDI
// (also in RIFF RMID), otherwise MPEG audio; null for anything unreadable.
std::unique_ptr<Decoder> open_decoder(std::unique_ptr<ByteSource> source);

std::unique_ptr<Decoder> open_wav_decoder(std::unique_ptr<ByteSource>& source);
std::unique_ptr<Decoder> open_mp3_decoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<Decoder> open_vorbis_decoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<Decoder> open_opus_decoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<Decoder> open_flac_decoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<Decoder> open_midi_decoder(std::unique_ptr<ByteSource> source);

// The configuration of the General MIDI patch set that the MIDI decoder plays with (UTF-8 path):
// midi/freepats/crude.cfg beside the module holding the library (bass.dll, or the program that links
// it); empty when that path is unknown.
std::string midi_patch_config();

} // namespace audiolib
