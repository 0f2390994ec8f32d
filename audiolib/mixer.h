#pragma once
// Sums every stream of the open output into one block of interleaved float frames.
// add/remove/clear/set_gain from any thread; render from the output thread. A stream removed
// here is not touched again once remove returns, so its stop or free takes effect by the next block.

#include <memory>
#include <mutex>
#include <vector>

#include "stream.h"

namespace audiolib {

class Mixer {
public:
    void add(std::shared_ptr<Stream> stream);
    void remove(const Stream* stream);
    void clear();
    void set_gain(float gain);
    float gain() const;
    // Returns whether any stream was playing.
    bool render(float* out, size_t frames, int channels);

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Stream>> streams_;
    float gain_ = 1.0f;
};

} // namespace audiolib
