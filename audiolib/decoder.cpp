#include "decoder.h"

#include <fmt123.h>

namespace audiolib {

size_t PcmFormat::frame_bytes() const {
    return static_cast<size_t>(channels) * MPG123_SAMPLESIZE(encoding);
}

std::unique_ptr<Decoder> open_decoder(std::unique_ptr<ByteSource> source) {
    if (!source || source->size() <= 0) return nullptr;
    unsigned char head[12] = {};
    bool riff = source->read(head, sizeof head) == sizeof head && head[0] == 'R' && head[1] == 'I' &&
                head[2] == 'F' && head[3] == 'F' && head[8] == 'W' && head[9] == 'A' && head[10] == 'V' &&
                head[11] == 'E';
    if (!source->seek(0)) return nullptr;
    // A RIFF/WAVE file we cannot read is not handed to the MPEG decoder: it would hunt for frames in it.
    if (riff) return open_wav_decoder(source);
    return open_mp3_decoder(std::move(source));
}

} // namespace audiolib
