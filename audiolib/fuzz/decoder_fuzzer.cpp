// Feeds one decoder (SB_FUZZ_OPEN names its opening function) arbitrary bytes: open, read it to
// its end, ask for length and title, seek into the middle and to the start and read again.
#include <cstdint>
#include <vector>

#include "decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto decoder = audiolib::SB_FUZZ_OPEN(audiolib::make_memory_source(data, size));
    if (!decoder) return 0;
    constexpr size_t block_frames = 4096;
    std::vector<unsigned char> block(block_frames * decoder->format().frame_bytes());
    int64_t total = 0;
    // Bounded: a small input may still describe hours of sound.
    for (int blocks = 0; blocks < 2000; ++blocks) {
        size_t got = decoder->read(block.data(), block_frames);
        if (got == 0) break;
        total += static_cast<int64_t>(got);
    }
    (void)decoder->length();
    (void)decoder->title();
    if (decoder->seek(total / 2)) decoder->read(block.data(), block_frames);
    if (decoder->seek(0)) decoder->read(block.data(), block_frames);
    return 0;
}
