// The WASAPI output under Wine: it sleeps while nothing plays and wakes for a play.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "capture.h"
#include "library.h"
#include "test_support.h"
#include "wasapi_output.h"

namespace audiolib {
namespace {

using namespace std::chrono_literals;
using clock_type = std::chrono::steady_clock;

// WASAPI underneath; counts the blocks the output thread asks for and notes the first that sounded.
class CountingBackend final : public Backend {
public:
    std::vector<Endpoint> endpoints() override { return inner_->endpoints(); }
    std::unique_ptr<Output> open(size_t index, long frequency, RenderCallback render) override {
        return inner_->open(index, frequency, [this, render](float* out, size_t frames, int channels) {
            bool playing = render(out, frames, channels);
            ++blocks;
            for (size_t i = 0; i < frames * static_cast<size_t>(channels) && !sounded; ++i)
                if (out[i] != 0.0f) sounded = true;
            return playing;
        });
    }
    std::string local_text(const std::string& utf8) const override { return inner_->local_text(utf8); }

    std::atomic<int> blocks{0};
    std::atomic<bool> sounded{false};

private:
    std::unique_ptr<Backend> inner_ = make_wasapi_backend();
};

// Blocks asked for over a stretch in which nothing should wake the output.
int blocks_while_waiting(const CountingBackend& backend, std::chrono::milliseconds time) {
    const int before = backend.blocks;
    std::this_thread::sleep_for(time);
    return backend.blocks - before;
}

bool wait_for(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    for (auto until = clock_type::now() + timeout; clock_type::now() < until; std::this_thread::sleep_for(1ms))
        if (done()) return true;
    return done();
}

TEST(WasapiOutput, SleepsWhileNothingPlaysWakesForAPlayAndLetsTheEndBeHeard) {
    auto owned = std::make_unique<CountingBackend>();
    CountingBackend& backend = *owned;
    Library library(std::move(owned));
    ASSERT_TRUE(library.init(1, 44100));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "open, nothing played yet";

    uint32_t handle = library.create_stream(open_file_source(test::fixture("s16_44100_stereo.wav").c_str(), 0, 0));
    auto stream = library.stream(handle);
    ASSERT_TRUE(stream);
    ASSERT_TRUE(stream->play(false));
    EXPECT_TRUE(wait_for([&] { return backend.sounded.load(); }, 100ms)) << "the play woke the output";
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 2000ms));
    EXPECT_EQ(stream->position_bytes(), stream->length_bytes());
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "asleep again after the end";

    // Stopped half way: asleep again, and the position stays where the stop left it.
    ASSERT_TRUE(stream->play(true));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(stream->stop());
    const int64_t stopped_at = stream->position_bytes();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(blocks_while_waiting(backend, 500ms), 0) << "asleep after a stop";
    EXPECT_EQ(stream->position_bytes(), stopped_at);
    EXPECT_EQ(stream->state(), ChannelState::stopped);

    // Played on from there: the device hears the rest, to its last frame, before the client goes.
    ASSERT_TRUE(stream->play(false));
    ASSERT_TRUE(wait_for([&] { return stream->state() == ChannelState::stopped; }, 2000ms));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(library.free());
    test::Capture capture = test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    const double rest = 1.0 - static_cast<double>(stopped_at) / (44100.0 * 4);
    EXPECT_NEAR(static_cast<double>(test::sounding_part(capture, 0.1f).size()) / capture.rate, rest, 0.012);
}

} // namespace
} // namespace audiolib
