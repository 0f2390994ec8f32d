#include "stream.h"

#include <algorithm>
#include <cmath>

namespace audiolib {

Stream::Stream(std::unique_ptr<Decoder> decoder, long output_rate, int output_channels, std::string title,
               std::shared_ptr<Wakeup> wakeup)
    : decoder_(std::move(decoder)), source_(decoder_->format()), output_rate_(output_rate),
      output_channels_(output_channels), converter_(*decoder_, output_rate, output_channels), title_(std::move(title)),
      wakeup_(std::move(wakeup)), scratch_(static_cast<size_t>(std::max(output_rate / 50, 1L)) * static_cast<size_t>(output_channels)) {}

bool Stream::play(bool restart) {
    {
        std::lock_guard lock(mutex_);
        // A stream that ran to its end starts again from the top, as a player's play button does.
        if ((restart || ended_) && !seek_locked(0)) return false;
        if (state_ != ChannelState::playing) applied_volume_ = volume_;
        state_ = ChannelState::playing;
    }
    // After the state is set: an output that wakes now finds the stream playing.
    if (wakeup_) wakeup_->notify();
    return true;
}

bool Stream::pause() {
    std::lock_guard lock(mutex_);
    if (state_ != ChannelState::playing) return false;
    state_ = ChannelState::paused;
    return true;
}

bool Stream::stop() {
    std::lock_guard lock(mutex_);
    state_ = ChannelState::stopped;
    return true;
}

ChannelState Stream::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

int64_t Stream::length_bytes() const {
    int64_t frames = decoder_->length();
    return frames < 0 ? -1 : frames * static_cast<int64_t>(decoded_frame_bytes());
}

int64_t Stream::position_frames_locked() const {
    int64_t length = decoder_->length();
    if (ended_ && length >= 0) return length;
    int64_t frames = base_frame_ + rendered_ * source_.rate / output_rate_;
    return length >= 0 ? std::min(frames, length) : frames;
}

int64_t Stream::position_bytes() const {
    std::lock_guard lock(mutex_);
    return position_frames_locked() * static_cast<int64_t>(decoded_frame_bytes());
}

bool Stream::seek_locked(int64_t frame) {
    int64_t length = decoder_->length();
    if (frame < 0 || (length >= 0 && frame > length) || !decoder_->seek(frame)) return false;
    converter_.reset();
    base_frame_ = frame;
    rendered_ = 0;
    ended_ = false;
    return true;
}

bool Stream::set_position_bytes(int64_t position) {
    std::lock_guard lock(mutex_);
    if (position < 0) return false;
    return seek_locked(position / static_cast<int64_t>(decoded_frame_bytes()));
}

double Stream::bytes_to_seconds(int64_t bytes) const {
    return static_cast<double>(bytes) / static_cast<double>(decoded_frame_bytes()) / static_cast<double>(source_.rate);
}

int64_t Stream::seconds_to_bytes(double seconds) const {
    if (!std::isfinite(seconds) || seconds < 0) return -1;
    return static_cast<int64_t>(seconds * static_cast<double>(source_.rate)) * static_cast<int64_t>(decoded_frame_bytes());
}

bool Stream::set_volume(float volume) {
    if (!std::isfinite(volume) || volume < 0.0f) return false;
    std::lock_guard lock(mutex_);
    volume_ = volume;
    return true;
}

float Stream::volume() const {
    std::lock_guard lock(mutex_);
    return volume_;
}

std::array<float, spectrum_bins> Stream::spectrum() const {
    std::array<float, spectrum_points> ordered;
    {
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < spectrum_points; ++i) ordered[i] = history_[(history_at_ + i) % spectrum_points];
    }
    return spectrum_256(ordered);
}

bool Stream::mix_into(float* mix, size_t frames) {
    std::lock_guard lock(mutex_);
    if (state_ != ChannelState::playing) return false;
    const size_t channels = static_cast<size_t>(output_channels_);
    // Volume changes glide over one block instead of stepping, which would click.
    const float from = applied_volume_, to = volume_;
    const float span = frames > 1 ? static_cast<float>(frames - 1) : 1.0f;
    size_t done = 0;
    bool ended = false;
    // In pieces of the scratch block sized at construction, so the output thread never allocates here.
    while (done < frames && !ended) {
        const size_t want = std::min(frames - done, scratch_.size() / channels);
        const size_t got = converter_.render(scratch_.data(), want);
        for (size_t f = 0; f < got; ++f) {
            const float gain = frames > 1 ? from + (to - from) * static_cast<float>(done + f) / span : to;
            float* out = mix + (done + f) * channels;
            float sum = 0.0f;
            for (size_t c = 0; c < channels; ++c) {
                float sample = scratch_[f * channels + c];
                sum += sample;
                out[c] += sample * gain;
            }
            history_[history_at_] = sum / static_cast<float>(channels);
            history_at_ = (history_at_ + 1) % spectrum_points;
        }
        done += got;
        ended = got < want && converter_.ended();
    }
    applied_volume_ = to;
    rendered_ += static_cast<int64_t>(done);
    if (ended) {
        ended_ = true;
        state_ = ChannelState::stopped;
    }
    return true;
}

} // namespace audiolib
