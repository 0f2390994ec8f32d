#pragma once
// One playing source: decoder, converter to the output's format, play state, volume, position.
// Every member may be called from any thread; the output thread calls mix_into.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "converter.h"
#include "decoder.h"
#include "fft256.h"
#include "wakeup.h"

namespace audiolib {

enum class ChannelState : uint32_t { stopped = 0, playing = 1, stalled = 2, paused = 3 };

class Stream {
public:
    // title is already in the text encoding callers get it in; play() rings wakeup, when given.
    Stream(std::unique_ptr<Decoder> decoder, long output_rate, int output_channels, std::string title,
           std::shared_ptr<Wakeup> wakeup = nullptr);

    // Positions and lengths count bytes of the decoded format: 16-bit samples at the source's
    // own rate and channel count, whatever the output runs at.
    size_t decoded_frame_bytes() const { return static_cast<size_t>(source_.channels) * 2; }

    bool play(bool restart);
    bool pause();
    bool stop();
    ChannelState state() const;

    int64_t length_bytes() const; // -1 when the source does not tell
    int64_t position_bytes() const;
    bool set_position_bytes(int64_t position);
    double bytes_to_seconds(int64_t bytes) const;
    int64_t seconds_to_bytes(double seconds) const;

    bool set_volume(float volume);
    float volume() const;

    const std::string& title() const { return title_; }
    std::array<float, spectrum_bins> spectrum() const;

    // Adds the next frames, at the stream's volume, onto mix (interleaved output channels).
    // Returns whether the stream was playing.
    bool mix_into(float* mix, size_t frames);

private:
    bool seek_locked(int64_t frame);
    int64_t position_frames_locked() const;

    mutable std::mutex mutex_;
    std::unique_ptr<Decoder> decoder_;
    PcmFormat source_;
    long output_rate_;
    int output_channels_;
    Converter converter_;
    std::string title_;
    std::shared_ptr<Wakeup> wakeup_;
    ChannelState state_ = ChannelState::stopped;
    bool ended_ = false;
    int64_t base_frame_ = 0;      // source frame the current run started at
    int64_t rendered_ = 0;        // output frames mixed since then
    float volume_ = 1.0f;
    float applied_volume_ = 1.0f; // where the last block's ramp ended
    std::vector<float> scratch_; // 20 ms of output frames, the most converted at one go
    std::array<float, spectrum_points> history_ {}; // last frames played, mono, ring
    size_t history_at_ = 0;
};

} // namespace audiolib
