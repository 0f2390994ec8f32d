#include "converter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <syn123.h>

namespace audiolib {
namespace {
// Frames pulled from the decoder per step: small enough for one output period, big enough to be cheap.
constexpr size_t block_frames = 1024;
} // namespace

void SynDeleter::operator()(syn123_struct* handle) const { syn123_del(handle); }

Converter::Converter(Decoder& decoder, long output_rate, int output_channels)
    : decoder_(decoder), source_(decoder.format()), output_rate_(output_rate), output_channels_(output_channels),
      resampling_(source_.rate != output_rate) {
    int error = 0;
    syn_.reset(syn123_new(output_rate, output_channels, MPG123_ENC_FLOAT_32, 0, &error));
    if (!syn_) throw std::runtime_error("syn123_new");
    // Even at equal rates the resampler filters, so it only runs when the rates differ.
    if (resampling_ && syn123_setup_resample(syn_.get(), source_.rate, output_rate, output_channels, 0, 0) != SYN123_OK)
        throw std::runtime_error("syn123_setup_resample");
    if (source_.channels != output_channels) {
        matrix_.assign(static_cast<size_t>(output_channels * source_.channels), 0.0);
        for (int out = 0; out < output_channels; ++out) {
            for (int in = 0; in < source_.channels; ++in) {
                double weight = 0.0;
                if (source_.channels == 1) weight = out < 2 ? 1.0 : 0.0;          // mono to front left and right
                else if (output_channels == 1) weight = 1.0 / source_.channels;   // fold down to mono
                else weight = in == out ? 1.0 : 0.0;                              // stereo onto the front pair
                matrix_[static_cast<size_t>(out * source_.channels + in)] = weight;
            }
        }
    }
    raw_.resize(block_frames * source_.frame_bytes());
    floats_.resize(block_frames * static_cast<size_t>(source_.channels));
    mixed_.resize(block_frames * static_cast<size_t>(output_channels));
    if (resampling_) {
        size_t most = syn123_resample_count(source_.rate, output_rate, block_frames);
        if (most == 0) throw std::runtime_error("syn123_resample_count");
        resampled_.resize(most * static_cast<size_t>(output_channels));
    }
}

size_t Converter::pull() {
    size_t frames = decoder_.read(raw_.data(), block_frames);
    if (frames == 0) {
        ended_ = true;
        return 0;
    }
    float* source_floats = floats_.data();
    if (source_.encoding == MPG123_ENC_FLOAT_32) {
        source_floats = reinterpret_cast<float*>(raw_.data());
    } else if (syn123_conv(floats_.data(), MPG123_ENC_FLOAT_32, floats_.size() * sizeof(float), raw_.data(),
                           source_.encoding, frames * source_.frame_bytes(), nullptr, nullptr, nullptr) != SYN123_OK) {
        ended_ = true;
        return 0;
    }
    float* frames_out = source_floats;
    if (!matrix_.empty()) {
        if (syn123_mix(mixed_.data(), MPG123_ENC_FLOAT_32, output_channels_, source_floats, MPG123_ENC_FLOAT_32,
                       source_.channels, matrix_.data(), frames, 1, nullptr, nullptr) != SYN123_OK) {
            ended_ = true;
            return 0;
        }
        frames_out = mixed_.data();
    }
    if (resampling_) {
        frames = syn123_resample(syn_.get(), resampled_.data(), frames_out, frames);
        frames_out = resampled_.data();
    }
    ready_ = frames_out;
    pending_ = frames;
    return frames;
}

size_t Converter::render(float* out, size_t frames) {
    size_t written = 0;
    const size_t channels = static_cast<size_t>(output_channels_);
    while (written < frames) {
        if (pending_ == 0) {
            if (ended_) break;
            pull();
            continue; // the resampler may give nothing for a tiny block; try again
        }
        size_t take = std::min(pending_, frames - written);
        std::memcpy(out + written * channels, ready_, take * channels * sizeof(float));
        ready_ += take * channels;
        pending_ -= take;
        written += take;
    }
    return written;
}

void Converter::reset() {
    pending_ = 0;
    ready_ = nullptr;
    ended_ = false;
    if (resampling_) {
        // Zero rates clear the history; the second call sets the ratio up again.
        syn123_setup_resample(syn_.get(), 0, 0, 0, 0, 0);
        syn123_setup_resample(syn_.get(), source_.rate, output_rate_, output_channels_, 0, 0);
    }
}

} // namespace audiolib
