#include "output.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace audiolib {
namespace {

class NullOutput final : public Output {
public:
    NullOutput(long rate, int channels, RenderCallback render)
        : format_{rate, channels}, render_(std::move(render)), thread_([this] { run(); }) {}
    ~NullOutput() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    OutputFormat format() const override { return format_; }

private:
    void run() {
        using clock = std::chrono::steady_clock;
        const auto start = clock::now();
        const auto period = std::chrono::milliseconds(10);
        std::vector<float> block;
        int64_t taken = 0;
        for (auto next = start + period;; next += period) {
            std::unique_lock lock(mutex_);
            if (wake_.wait_until(lock, next, [this] { return stopping_; })) return;
            lock.unlock();
            // Frames due by now, so rounding never lets the clock drift.
            auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - start).count();
            int64_t due = elapsed * format_.rate / 1000000 - taken;
            if (due <= 0) continue;
            block.resize(static_cast<size_t>(due) * static_cast<size_t>(format_.channels));
            render_(block.data(), static_cast<size_t>(due), format_.channels);
            taken += due;
        }
    }

    OutputFormat format_;
    RenderCallback render_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_; // last: starts once everything it uses exists
};

} // namespace

std::unique_ptr<Output> open_null_output(long rate, int channels, RenderCallback render) {
    return std::make_unique<NullOutput>(rate, channels, std::move(render));
}

} // namespace audiolib
