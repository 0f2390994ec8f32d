#pragma once
// Brings a decoder's frames to the output's rate and channel count as 32-bit float, on the fly,
// with libsyn123's encoding conversion, channel mix and resampler.

#include <cstddef>
#include <memory>
#include <vector>

#include "decoder.h"

struct syn123_struct;

namespace audiolib {

struct SynDeleter {
    void operator()(syn123_struct* handle) const;
};
using SynHandle = std::unique_ptr<syn123_struct, SynDeleter>;

class Converter {
public:
    // Throws std::bad_alloc or std::runtime_error when syn123 cannot take the formats.
    Converter(Decoder& decoder, long output_rate, int output_channels);
    // Writes up to frames output frames; fewer only when the decoder has ended.
    size_t render(float* out, size_t frames);
    // Forgets buffered frames and filter history, after the decoder was moved.
    void reset();
    bool ended() const { return ended_ && pending_ == 0; }

private:
    size_t pull();

    Decoder& decoder_;
    PcmFormat source_;
    long output_rate_;
    int output_channels_;
    bool resampling_;
    SynHandle syn_;
    std::vector<double> matrix_;      // output_channels x source channels, empty when identical
    std::vector<unsigned char> raw_;  // decoder frames in their own encoding
    std::vector<float> floats_;       // the same as float
    std::vector<float> mixed_;        // output channels, source rate
    std::vector<float> resampled_;    // output channels, output rate
    const float* ready_ = nullptr;    // frames waiting to be handed out
    size_t pending_ = 0;
    bool ended_ = false;
};

} // namespace audiolib
