#pragma once
// An open output: it owns a thread that asks for frames once per period while anything plays,
// and sleeps without a timer while nothing does, until wake() or its destruction.

#include <cstddef>
#include <functional>
#include <memory>

namespace audiolib {

struct OutputFormat {
    long rate = 0;
    int channels = 0;
};

// Fills frames interleaved float frames of the given channel count; runs on the output thread.
// Returns whether anything was playing: after a block that was not, the output may go to sleep
// once what it already handed to the device has been heard.
using RenderCallback = std::function<bool(float* out, size_t frames, int channels)>;

class Output {
public:
    virtual ~Output() = default; // stops and joins the output thread
    virtual OutputFormat format() const = 0;
    // Something may have started playing: a sleeping output starts again. Any thread; never waits.
    virtual void wake() = 0;
    // Frames the device takes per period on the client opened last (0 before one opened). Any thread.
    virtual long period_frames() const = 0;
};

// Device 0: nothing is heard, but frames are taken in real time, so streams play and end as usual.
std::unique_ptr<Output> open_null_output(long rate, int channels, RenderCallback render);

} // namespace audiolib
