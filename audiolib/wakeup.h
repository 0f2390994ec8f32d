#pragma once
// The line from a stream that starts playing to the output it plays on. Streams may outlive
// their output (a caller can still hold one while the device closes), so they hold this line
// rather than the output, and the closing output cuts it first.

#include <mutex>

#include "output.h"

namespace audiolib {

class Wakeup {
public:
    // null cuts the line; returns once no notify() is reaching the old output.
    void connect(Output* output);
    void notify();

private:
    std::mutex mutex_;
    Output* output_ = nullptr;
};

} // namespace audiolib
