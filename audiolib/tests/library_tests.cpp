// Device rules, stream handles and the silent output, over a backend whose outputs the test drives.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "library.h"
#include "test_support.h"

namespace audiolib {
namespace {

// An output without a thread: the test pulls frames when it wants them.
class PulledOutput final : public Output {
public:
    PulledOutput(RenderCallback render, bool* alive, int* wakes) : render_(std::move(render)), alive_(alive), wakes_(wakes) {
        *alive_ = true;
    }
    ~PulledOutput() override { *alive_ = false; }
    OutputFormat format() const override { return {48000, 2}; }
    void wake() override { ++*wakes_; }
    long period_frames() const override { return 480; }
    std::vector<float> pull(size_t frames) {
        std::vector<float> out(frames * 2);
        playing = render_(out.data(), frames, 2);
        return out;
    }
    bool playing = false; // what the last pull's render said

private:
    RenderCallback render_;
    bool* alive_;
    int* wakes_;
};

class FakeBackend final : public Backend {
public:
    std::vector<Endpoint> endpoints() override {
        ++enumerations;
        return {{"Speakers", "{id-1}"}, {"Headphones", "{id-2}"}, {"Broken", "{id-3}"}};
    }
    std::unique_ptr<Output> open(size_t index, long, RenderCallback render) override {
        if (index == 2) return nullptr; // listed, but it cannot be opened
        auto output = std::make_unique<PulledOutput>(std::move(render), &output_alive, &wakes);
        last = output.get();
        return output;
    }
    std::string local_text(const std::string& utf8) const override { return "local:" + utf8; }

    PulledOutput* last = nullptr;
    bool output_alive = false;
    int wakes = 0;
    int enumerations = 0;
};

struct LibraryTest : ::testing::Test {
    LibraryTest() {
        auto owned = std::make_unique<FakeBackend>();
        backend = owned.get();
        library = std::make_unique<Library>(std::move(owned));
    }
    uint32_t open_file(const std::string& name) {
        return library->create_stream(open_file_source(test::fixture(name).c_str(), 0, 0));
    }
    FakeBackend* backend;
    std::unique_ptr<Library> library;
};

TEST_F(LibraryTest, OpensOneDeviceAtATime) {
    EXPECT_EQ(library->current_device(), -1);
    EXPECT_FALSE(library->free()) << "nothing open";
    ASSERT_TRUE(library->init(-1, 44100));
    EXPECT_EQ(library->current_device(), 1) << "-1 is the default output";
    EXPECT_FALSE(library->init(2, 44100)) << "already open";
    EXPECT_EQ(library->current_device(), 1);
    ASSERT_TRUE(library->free());
    EXPECT_FALSE(backend->output_alive) << "free closes the output";
    EXPECT_EQ(library->current_device(), -1);

    ASSERT_TRUE(library->init(2, 44100));
    EXPECT_EQ(library->current_device(), 2);
    ASSERT_TRUE(library->free());
    EXPECT_FALSE(library->init(3, 44100)) << "listed but cannot be opened";
    EXPECT_FALSE(library->init(4, 44100)) << "no such device";
    EXPECT_FALSE(library->init(-2, 44100));
    EXPECT_EQ(library->current_device(), -1);
}

TEST_F(LibraryTest, DescribesEveryDeviceWithStableTexts) {
    DeviceInfo info;
    ASSERT_TRUE(library->device_info(0, info));
    EXPECT_STREQ(info.name, "No sound");
    ASSERT_TRUE(library->device_info(1, info));
    EXPECT_STREQ(info.name, "Speakers");
    EXPECT_STREQ(info.driver, "{id-1}");
    EXPECT_EQ(info.flags, device_enabled | device_default);
    const char* first_name = info.name;
    ASSERT_TRUE(library->device_info(3, info));
    EXPECT_STREQ(info.name, "Broken");
    EXPECT_FALSE(library->device_info(4, info)) << "past the last";
    EXPECT_FALSE(library->device_info(-1, info));
    EXPECT_EQ(backend->enumerations, 1) << "a burst of questions looks at the system once";

    ASSERT_TRUE(library->init(2, 44100)); // reads the list afresh
    ASSERT_TRUE(library->device_info(2, info));
    EXPECT_EQ(info.flags, device_enabled | device_open);
    ASSERT_TRUE(library->device_info(1, info));
    EXPECT_EQ(info.name, first_name) << "the same text stays at the same address";
}

TEST_F(LibraryTest, StreamsNeedAnOpenDeviceAndHandlesAreNeverReused) {
    EXPECT_EQ(open_file("s16_44100_stereo.wav"), 0u) << "no device open";
    ASSERT_TRUE(library->init(1, 44100));
    uint32_t first = open_file("s16_44100_stereo.wav");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(open_file("picture.mp3"), 0u);
    EXPECT_EQ(library->create_stream(nullptr), 0u);
    ASSERT_TRUE(library->free_stream(first));
    EXPECT_FALSE(library->free_stream(first)) << "stale handle";
    EXPECT_FALSE(library->stream(first));

    uint32_t second = open_file("s16_44100_stereo.wav");
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    ASSERT_TRUE(library->free());
    EXPECT_FALSE(library->stream(second)) << "free releases every stream";
    ASSERT_TRUE(library->init(1, 44100));
    uint32_t third = open_file("s16_44100_stereo.wav");
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST_F(LibraryTest, TitlesArriveInTheCallersCodePage) {
    ASSERT_TRUE(library->init(1, 44100));
    uint32_t tagged = open_file("id3_tagged.mp3");
    ASSERT_NE(tagged, 0u);
    EXPECT_EQ(library->stream(tagged)->title(), "local:Crowd laughter");
}

TEST_F(LibraryTest, MemoryStreamsKeepTheirOwnCopy) {
    ASSERT_TRUE(library->init(1, 44100));
    std::vector<unsigned char> bytes = test::read_bytes(test::fixture("mpeg1_cbr_44100_stereo.mp3"));
    uint32_t handle = library->create_stream(make_memory_source(bytes.data(), bytes.size()));
    ASSERT_NE(handle, 0u);
    std::fill(bytes.begin(), bytes.end(), 0); // the caller reuses its block
    ASSERT_TRUE(library->stream(handle)->play(false));
    backend->last->pull(4800);
    std::vector<float> out = backend->last->pull(4800);
    EXPECT_NEAR(test::dominant_frequency(test::channel_of(out, 2, 0), 48000), 1000.0, 10.0);
}

TEST_F(LibraryTest, MasterVolumeBelongsToTheOpenOutput) {
    EXPECT_FALSE(library->set_master_volume(0.5f));
    EXPECT_EQ(library->master_volume(), -1.0f);
    ASSERT_TRUE(library->init(1, 44100));
    EXPECT_EQ(library->master_volume(), 1.0f);
    uint32_t handle = open_file("s16_48000_long.wav");
    ASSERT_TRUE(library->stream(handle)->play(false));
    ASSERT_TRUE(library->set_master_volume(0.5f));
    EXPECT_FLOAT_EQ(library->master_volume(), 0.5f);
    backend->last->pull(4800);
    EXPECT_NEAR(test::rms(backend->last->pull(4800)), 0.5 / 1.41421356 * 0.5, 0.01);
    EXPECT_FALSE(library->set_master_volume(1.5f));
    EXPECT_FALSE(library->set_master_volume(-0.1f));
}

TEST_F(LibraryTest, PlayWakesTheOutputAndRenderTellsWhetherAnythingPlays) {
    ASSERT_TRUE(library->init(1, 44100));
    uint32_t handle = open_file("s16_44100_stereo.wav"); // 1 s
    auto stream = library->stream(handle);
    backend->last->pull(480);
    EXPECT_FALSE(backend->last->playing) << "a stream that was never played";
    EXPECT_EQ(backend->wakes, 0);
    ASSERT_TRUE(stream->play(false));
    EXPECT_EQ(backend->wakes, 1);
    backend->last->pull(480);
    EXPECT_TRUE(backend->last->playing);
    backend->last->pull(48000); // runs out within this block, which still counts as playing
    EXPECT_TRUE(backend->last->playing);
    backend->last->pull(480);
    EXPECT_FALSE(backend->last->playing) << "ended";
    ASSERT_TRUE(stream->play(false));
    ASSERT_TRUE(stream->pause());
    backend->last->pull(480);
    EXPECT_FALSE(backend->last->playing) << "paused";
    EXPECT_EQ(backend->wakes, 2);

    // A caller may still hold a stream while the device closes: its play must not reach the old output.
    ASSERT_TRUE(library->free());
    EXPECT_TRUE(stream->play(false));
    EXPECT_EQ(backend->wakes, 2);
}

TEST(NullOutput, SleepsWhileNothingPlaysAndKeepsRealTimeAfterWaking) {
    using namespace std::chrono_literals;
    std::atomic<bool> playing{false};
    std::atomic<int> calls{0};
    std::atomic<int64_t> frames{0};
    auto output = open_null_output(48000, 2, [&](float*, size_t count, int) {
        ++calls;
        frames += static_cast<int64_t>(count);
        return playing.load();
    });
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(calls, 0) << "nothing was ever played";

    playing = true;
    output->wake();
    std::this_thread::sleep_for(300ms);
    EXPECT_NEAR(static_cast<double>(frames) / 48000, 0.3, 0.05) << "real time from the wake, not from the start";

    playing = false;
    std::this_thread::sleep_for(50ms);
    const int settled = calls;
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(calls, settled) << "asleep once a block played nothing";

    output->wake(); // a wake with nothing to play: one block, then asleep again
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(calls - settled, 2);

    const int64_t before = frames;
    std::this_thread::sleep_for(200ms);
    playing = true;
    output->wake();
    std::this_thread::sleep_for(200ms);
    EXPECT_NEAR(static_cast<double>(frames - before) / 48000, 0.2, 0.05) << "the time asleep is not made up";
}

TEST_F(LibraryTest, SilentDeviceAdvancesInRealTime) {
    ASSERT_TRUE(library->init(0, 44100));
    EXPECT_EQ(library->current_device(), 0);
    uint32_t handle = open_file("s16_48000_long.wav"); // 3 s
    ASSERT_NE(handle, 0u);
    auto stream = library->stream(handle);
    ASSERT_TRUE(stream->play(false));
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double played = stream->bytes_to_seconds(stream->position_bytes());
    EXPECT_NEAR(played, waited, 0.05);
    EXPECT_EQ(stream->state(), ChannelState::playing);
    ASSERT_TRUE(library->free());
}

} // namespace
} // namespace audiolib
