#include "mixer.h"

#include <algorithm>

namespace audiolib {

void Mixer::add(std::shared_ptr<Stream> stream) {
    std::lock_guard lock(mutex_);
    streams_.push_back(std::move(stream));
}

void Mixer::remove(const Stream* stream) {
    std::lock_guard lock(mutex_);
    std::erase_if(streams_, [stream](const auto& s) { return s.get() == stream; });
}

void Mixer::clear() {
    std::lock_guard lock(mutex_);
    streams_.clear();
}

void Mixer::set_gain(float gain) {
    std::lock_guard lock(mutex_);
    gain_ = gain;
}

float Mixer::gain() const {
    std::lock_guard lock(mutex_);
    return gain_;
}

bool Mixer::render(float* out, size_t frames, int channels) {
    const size_t samples = frames * static_cast<size_t>(channels);
    std::fill(out, out + samples, 0.0f);
    std::lock_guard lock(mutex_);
    bool playing = false;
    for (const auto& stream : streams_) playing = stream->mix_into(out, frames) || playing;
    if (playing && gain_ != 1.0f)
        for (size_t i = 0; i < samples; ++i) out[i] *= gain_;
    return playing;
}

} // namespace audiolib
