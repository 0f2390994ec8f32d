#pragma once
// An open output: it owns a thread that asks for frames once per period until it is destroyed.

#include <cstddef>
#include <functional>
#include <memory>

namespace audiolib {

struct OutputFormat {
    long rate = 0;
    int channels = 0;
};

// Fills frames interleaved float frames of the given channel count; runs on the output thread.
using RenderCallback = std::function<void(float* out, size_t frames, int channels)>;

class Output {
public:
    virtual ~Output() = default; // stops and joins the output thread
    virtual OutputFormat format() const = 0;
};

// Device 0: nothing is heard, but frames are taken in real time, so streams play and end as usual.
std::unique_ptr<Output> open_null_output(long rate, int channels, RenderCallback render);

} // namespace audiolib
