// Standard MIDI files (and RIFF RMID around one) rendered by the MIDI synthesizer of SDL_mixer's
// source (TiMidity, deps::timidity) with the freepats General MIDI patch set that lies in
// midi/freepats beside this module (midi_patch_config()). Rendered to 16-bit stereo at 48 kHz.
#include "decoder.h"

#include <algorithm>
#include <cstring>
#include <fmt123.h>
#include <limits>
#include <mutex>
#include <vector>

#include <SDL.h>
#include <timidity.h>

namespace audiolib {
namespace {

constexpr long kRate = 48000;
constexpr int kChannels = 2;
// Frames the synthesizer renders per call: it hands its output over only in whole blocks.
constexpr int kBlockFrames = 1024;
// MIDI files are small; anything bigger is not one.
constexpr int64_t kMaxFileBytes = 64 << 20;

// The synthesizer's patch table is global: read once per process from the patch set's
// configuration, then only read by the songs. Its file reader keeps state in static variables, so
// songs load one at a time (rendering touches only the song's own state).
std::mutex& synthesizer_mutex() {
    static std::mutex mutex;
    return mutex;
}

// Under synthesizer_mutex(). A failed start (no patch set) is tried again at the next file.
bool synthesizer_ready() {
    static bool ready = false;
    if (!ready) {
        const std::string config = midi_patch_config();
        ready = !config.empty() && Timidity_Init(config.c_str()) == 0;
    }
    return ready;
}

// The synthesizer reads the file through an SDL_RWops; this one reads our copy of its bytes.
struct MemoryReader {
    SDL_RWops ops{};
    const std::vector<unsigned char>* bytes = nullptr;
    int64_t at = 0;
};

size_t read_memory(SDL_RWops* ops, void* buffer, size_t size, size_t count) {
    auto* reader = static_cast<MemoryReader*>(ops->data);
    if (size == 0 || count == 0) return 0;
    const int64_t left = std::max<int64_t>(0, static_cast<int64_t>(reader->bytes->size()) - reader->at);
    const size_t whole = std::min<size_t>(count, static_cast<size_t>(left) / size);
    std::memcpy(buffer, reader->bytes->data() + reader->at, whole * size);
    reader->at += static_cast<int64_t>(whole * size);
    return whole;
}

Sint64 seek_memory(SDL_RWops* ops, Sint64 offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(ops->data);
    const int64_t size = static_cast<int64_t>(reader->bytes->size());
    // The synthesizer skips forward only, by lengths the file gives; a negative one (a length that
    // overflowed) would take it back over what it read, again and again. It ends the file instead.
    if (whence != RW_SEEK_CUR || offset < 0 || offset > size) {
        reader->at = size;
        return reader->at;
    }
    reader->at = std::min(reader->at + offset, size);
    return reader->at;
}

// A reader of the file's structure: big-endian numbers and variable-length quantities.
class Bytes {
public:
    Bytes(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool has(size_t count) const { return count <= size_ - at_; }
    size_t at() const { return at_; }
    size_t left() const { return size_ - at_; }
    void skip(size_t count) { at_ += std::min(count, left()); }
    const unsigned char* here() const { return data_ + at_; }
    bool u8(unsigned& value) {
        if (!has(1)) return false;
        value = data_[at_++];
        return true;
    }
    bool be(size_t count, uint32_t& value) {
        if (!has(count)) return false;
        value = 0;
        for (size_t i = 0; i < count; ++i) value = value << 8 | data_[at_++];
        return true;
    }
    bool varlen(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned byte = 0;
            if (!u8(byte)) return false;
            value = value << 7 | (byte & 0x7F);
            if (!(byte & 0x80)) return true;
        }
        return false;
    }

private:
    const unsigned char* data_;
    size_t size_;
    size_t at_ = 0;
};

// Where the standard MIDI file starts: at 0, or inside a RIFF RMID file's "data" chunk.
bool smf_start(const std::vector<unsigned char>& bytes, size_t& start) {
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "MThd", 4) == 0) {
        start = 0;
        return true;
    }
    // The synthesizer expects the "data" chunk first, as in every RMID file.
    if (bytes.size() >= 24 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "RMID", 4) == 0 &&
        std::memcmp(bytes.data() + 12, "data", 4) == 0 && std::memcmp(bytes.data() + 20, "MThd", 4) == 0) {
        start = 20;
        return true;
    }
    return false;
}

// The header the synthesizer relies on without checking all of it: a time division of zero would
// divide by zero.
bool header_plays(Bytes file) {
    uint32_t length = 0, format = 0, tracks = 0, division = 0;
    file.skip(4);
    if (!file.be(4, length) || length < 6 || !file.be(2, format) || !file.be(2, tracks) || !file.be(2, division)) return false;
    if (format > 2 || tracks < 1 || tracks > 0x7FFF) return false;
    if (division & 0x8000) { // SMPTE: frames per second times ticks per frame
        const int frames = -static_cast<int>(static_cast<int16_t>(division) / 256);
        return frames > 0 && (division & 0xFF) > 0;
    }
    return division > 0;
}

bool valid_utf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 9;
        if (extra == 9 || (extra == 1 && lead < 0xC2) || i + extra >= text.size()) return false;
        uint32_t point = lead & (0x7F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            point = point << 6 | (next & 0x3F);
        }
        if ((extra == 2 && (point < 0x800 || (point >= 0xD800 && point <= 0xDFFF))) ||
            (extra == 3 && (point < 0x10000 || point > 0x10FFFF)))
            return false;
        i += extra + 1;
    }
    return true;
}

// The text of the file's first track-name meta event (FF 03), tracks in file order. MIDI text has
// no declared encoding: UTF-8 (and so ASCII) is passed on, anything else gives no title.
std::string track_name(Bytes file) {
    file.skip(4);
    uint32_t header = 0;
    if (!file.be(4, header)) return {};
    file.skip(header);
    while (file.left() >= 8) {
        const bool track = std::memcmp(file.here(), "MTrk", 4) == 0;
        file.skip(4);
        uint32_t length = 0;
        file.be(4, length);
        const size_t size = std::min<size_t>(length, file.left());
        if (track) {
            Bytes events(file.here(), size);
            unsigned status = 0;
            while (events.left() > 0) {
                uint32_t delta = 0, count = 0;
                unsigned byte = 0;
                if (!events.varlen(delta) || !events.u8(byte)) break;
                if (byte >= 0x80) {
                    status = byte;
                } else if (status >= 0x80 && status < 0xF0) {
                    events.skip(status >= 0xC0 && status < 0xE0 ? 0 : 1); // running status: byte was data
                    continue;
                } else {
                    break;
                }
                if (status < 0xF0) {
                    events.skip(status >= 0xC0 && status < 0xE0 ? 1 : 2);
                } else if (status == 0xF0 || status == 0xF7) {
                    if (!events.varlen(count)) break;
                    events.skip(count);
                    status = 0; // system messages cancel running status
                } else if (status == 0xFF) {
                    unsigned type = 0;
                    if (!events.u8(type) || !events.varlen(count) || !events.has(count)) break;
                    if (type == 0x03) {
                        std::string name(reinterpret_cast<const char*>(events.here()), count);
                        while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
                        return valid_utf8(name) ? name : std::string();
                    }
                    if (type == 0x2F) break; // end of track
                    events.skip(count);
                    status = 0;
                } else {
                    break; // not in a file
                }
            }
        }
        file.skip(size);
    }
    return {};
}

struct SongFree {
    void operator()(MidiSong* song) const { Timidity_FreeSong(song); }
};
using Song = std::unique_ptr<MidiSong, SongFree>;

class MidiDecoder final : public Decoder {
public:
    MidiDecoder(Song song, std::string title) : song_(std::move(song)), title_(std::move(title)) {
        // The time of the end-of-track event that closes the synthesizer's event list: where its
        // rendering stops.
        length_ = song_->events[song_->groomed_event_count - 1].time;
        Timidity_Start(song_.get());
    }
    const PcmFormat& format() const override { return format_; }
    int64_t length() const override { return length_; }
    size_t read(void* out, size_t frames) override {
        auto* samples = static_cast<int16_t*>(out);
        size_t filled = 0;
        while (filled < frames) {
            if (block_at_ == block_frames_ && !render()) break;
            const size_t count = std::min(frames - filled, block_frames_ - block_at_);
            std::memcpy(samples + filled * kChannels, block_.data() + block_at_ * kChannels, count * kChannels * sizeof(int16_t));
            block_at_ += count;
            filled += count;
        }
        return filled;
    }
    bool seek(int64_t frame) override {
        if (frame < 0 || frame > length_) return false;
        // The synthesizer seeks to whole milliseconds (48 frames here) as a 32-bit count of
        // frames times ten; the rest is rendered and dropped.
        const int64_t ms = frame / (kRate / 1000);
        if (ms * (kRate / 100) > std::numeric_limits<Uint32>::max()) return false;
        Timidity_Start(song_.get()); // playing again, also after the end
        if (ms > 0) Timidity_Seek(song_.get(), static_cast<Uint32>(ms));
        ended_ = false;
        block_at_ = block_frames_ = 0;
        const size_t drop = static_cast<size_t>(frame - ms * (kRate / 1000));
        if (drop > 0 && render()) block_at_ = std::min(drop, block_frames_);
        return true;
    }
    std::string title() const override { return title_; }

private:
    // One block from the synthesizer into block_; false at the end.
    bool render() {
        block_at_ = block_frames_ = 0;
        if (ended_) return false;
        constexpr int block_bytes = kBlockFrames * kChannels * static_cast<int>(sizeof(int16_t));
        const int bytes = Timidity_PlaySome(song_.get(), block_.data(), block_bytes);
        size_t got = bytes > 0 ? static_cast<size_t>(bytes) / (kChannels * sizeof(int16_t)) : 0;
        if (got < static_cast<size_t>(kBlockFrames)) {
            // The end of the song within this block: the synthesizer still holds the frames it
            // mixed before the end, unconverted, in its buffer (it converts only whole blocks).
            ended_ = true;
            MidiSong* song = song_.get();
            const Sint32 held = std::min<Sint32>(song->buffered_count, static_cast<Sint32>(got));
            std::fill(block_.begin(), block_.end(), int16_t{0});
            if (held > 0) song->write(block_.data(), song->common_buffer, held * kChannels);
            song->buffered_count = 0;
            song->buffer_pointer = song->common_buffer;
        }
        block_frames_ = got;
        return got > 0;
    }

    Song song_;
    PcmFormat format_{kRate, kChannels, MPG123_ENC_SIGNED_16};
    std::string title_;
    int64_t length_ = 0;
    std::vector<int16_t> block_ = std::vector<int16_t>(static_cast<size_t>(kBlockFrames) * kChannels);
    size_t block_at_ = 0, block_frames_ = 0;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<Decoder> open_midi_decoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    const int64_t size = source->size();
    if (size < 14 || size > kMaxFileBytes || !source->seek(0)) return nullptr;
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    if (source->read(bytes.data(), bytes.size()) != bytes.size()) return nullptr;
    size_t start = 0;
    if (!smf_start(bytes, start)) return nullptr;
    Bytes smf(bytes.data() + start, bytes.size() - start);
    if (!header_plays(smf)) return nullptr;
    std::lock_guard lock(synthesizer_mutex());
    if (!synthesizer_ready()) return nullptr;

    MemoryReader reader;
    reader.bytes = &bytes;
    reader.ops.read = read_memory;
    reader.ops.seek = seek_memory;
    reader.ops.data = &reader;
    SDL_AudioSpec rendering{};
    rendering.freq = kRate;
    rendering.format = AUDIO_S16SYS;
    rendering.channels = kChannels;
    rendering.samples = kBlockFrames;
    // The song keeps no hold on the reader: it reads all events while loading.
    Song song(Timidity_LoadSong(&reader.ops, &rendering));
    if (!song || song->groomed_event_count < 1) return nullptr;
    return std::make_unique<MidiDecoder>(std::move(song), track_name(smf));
}

} // namespace audiolib
