#include "output.h"

#include <algorithm>
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
    long period_frames() const override { return format_.rate / 100; }
    void wake() override {
        {
            std::lock_guard lock(mutex_);
            woken_ = true;
        }
        wake_.notify_all();
    }

private:
    void run() {
        using clock = std::chrono::steady_clock;
        const auto period = std::chrono::milliseconds(10);
        // 100 ms at most per call, sized here so the loop never allocates.
        std::vector<float> block(static_cast<size_t>(std::max(format_.rate / 10, 1L)) * static_cast<size_t>(format_.channels));
        const int64_t block_frames = static_cast<int64_t>(block.size()) / format_.channels;
        bool playing = false;
        auto start = clock::now();
        int64_t taken = 0;
        for (auto next = start + period;; next += period) {
            std::unique_lock lock(mutex_);
            if (!playing) {
                // Asleep until a stream starts; the clock starts again from here.
                wake_.wait(lock, [this] { return stopping_ || woken_; });
                start = clock::now();
                next = start + period;
                taken = 0;
            }
            if (wake_.wait_until(lock, next, [this] { return stopping_; })) return;
            // A play from now on rings again; one from before is in this block.
            woken_ = false;
            lock.unlock();
            // Frames due by now, so rounding never lets the clock drift.
            auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - start).count();
            int64_t due = elapsed * format_.rate / 1000000 - taken;
            if (due <= 0) continue;
            playing = false;
            for (int64_t left = due; left > 0;) {
                const int64_t frames = std::min(left, block_frames);
                playing = render_(block.data(), static_cast<size_t>(frames), format_.channels) || playing;
                left -= frames;
            }
            taken += due;
        }
    }

    OutputFormat format_;
    RenderCallback render_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool woken_ = false;
    std::thread thread_; // last: starts once everything it uses exists
};

} // namespace

std::unique_ptr<Output> open_null_output(long rate, int channels, RenderCallback render) {
    return std::make_unique<NullOutput>(rate, channels, std::move(render));
}

} // namespace audiolib
