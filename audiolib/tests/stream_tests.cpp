// The stream's play state, position and volume, and the mixer, pulled by hand as an output would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "mixer.h"
#include "stream.h"
#include "test_support.h"

// Counts what this program asks of operator new on the thread that is counting (-1: not counting),
// which is how the tests see the render path allocate.
namespace {
thread_local long counted_news = -1;
}
// GCC sees malloc and free meet operator new and delete here, which is the point of this pair.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (counted_news >= 0) ++counted_news;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace audiolib {
namespace {

constexpr long out_rate = 48000;
constexpr double tone_rms = 0.5 / 1.41421356;

std::shared_ptr<Stream> open_stream(const std::string& name) {
    auto decoder = open_decoder(open_file_source(test::fixture(name).c_str(), 0, 0));
    if (!decoder) return nullptr;
    return std::make_shared<Stream>(std::move(decoder), out_rate, 2, "");
}

std::vector<float> pull(Mixer& mixer, size_t frames) {
    std::vector<float> out(frames * 2, 123.0f); // the mixer must overwrite, not add to, what it is given
    mixer.render(out.data(), frames, 2);
    return out;
}

TEST(Stream, PlayPauseStopAndRestartMoveThePosition) {
    auto stream = open_stream("s16_44100_stereo.wav"); // 1 s, 4 bytes a frame
    ASSERT_TRUE(stream);
    Mixer mixer;
    mixer.add(stream);
    EXPECT_EQ(stream->state(), ChannelState::stopped);
    EXPECT_EQ(test::rms(pull(mixer, 4800)), 0.0) << "nothing plays before play";

    ASSERT_TRUE(stream->play(false));
    EXPECT_EQ(stream->state(), ChannelState::playing);
    EXPECT_GT(test::rms(pull(mixer, 4800)), 0.3);
    EXPECT_EQ(stream->position_bytes(), 4410 * 4) << "0.1 s at the source's rate";

    ASSERT_TRUE(stream->pause());
    EXPECT_EQ(stream->state(), ChannelState::paused);
    EXPECT_EQ(test::rms(pull(mixer, 4800)), 0.0);
    EXPECT_EQ(stream->position_bytes(), 4410 * 4);
    EXPECT_FALSE(stream->pause()) << "pausing a paused stream";

    ASSERT_TRUE(stream->play(false));
    pull(mixer, 4800);
    EXPECT_EQ(stream->position_bytes(), 8820 * 4) << "resumes where it paused";

    ASSERT_TRUE(stream->stop());
    EXPECT_EQ(stream->state(), ChannelState::stopped);
    EXPECT_EQ(test::rms(pull(mixer, 4800)), 0.0) << "stop takes effect with the next block";
    EXPECT_FALSE(stream->pause());

    ASSERT_TRUE(stream->play(true));
    EXPECT_EQ(stream->position_bytes(), 0);
    pull(mixer, 480);
    EXPECT_EQ(stream->position_bytes(), 441 * 4);
}

TEST(Stream, EndsAtItsLengthAndPlaysAgainFromTheTop) {
    auto stream = open_stream("s16_44100_stereo.wav");
    ASSERT_TRUE(stream);
    Mixer mixer;
    mixer.add(stream);
    EXPECT_EQ(stream->length_bytes(), 44100 * 4);
    ASSERT_TRUE(stream->play(false));
    std::vector<float> all = pull(mixer, 60000); // 1.25 s of output for 1 s of sound
    EXPECT_EQ(stream->state(), ChannelState::stopped);
    EXPECT_EQ(stream->position_bytes(), stream->length_bytes());
    std::vector<float> tail(all.end() - 2 * 9000, all.end());
    EXPECT_EQ(test::rms(tail), 0.0) << "silence after the end";

    ASSERT_TRUE(stream->play(false));
    EXPECT_EQ(stream->state(), ChannelState::playing);
    EXPECT_GT(test::rms(pull(mixer, 4800)), 0.3);
}

TEST(Stream, SetPositionSeeksWithinTheSource) {
    auto stream = open_stream("s16_44100_stereo.wav");
    ASSERT_TRUE(stream);
    Mixer mixer;
    mixer.add(stream);
    EXPECT_TRUE(stream->set_position_bytes(22050 * 4));
    EXPECT_EQ(stream->position_bytes(), 22050 * 4);
    EXPECT_TRUE(stream->set_position_bytes(22050 * 4 + 3)) << "inside a frame rounds down";
    EXPECT_EQ(stream->position_bytes(), 22050 * 4);
    EXPECT_FALSE(stream->set_position_bytes(44101 * 4));
    EXPECT_FALSE(stream->set_position_bytes(-4));
    ASSERT_TRUE(stream->play(false));
    pull(mixer, 48000);
    EXPECT_EQ(stream->state(), ChannelState::stopped) << "half a second was left";
}

TEST(Stream, SecondsAndBytesUseTheDecodedFormat) {
    auto mono = open_stream("mpeg2_cbr_22050_mono.mp3"); // 2 bytes a frame
    ASSERT_TRUE(mono);
    EXPECT_DOUBLE_EQ(mono->bytes_to_seconds(44100), 1.0);
    EXPECT_EQ(mono->seconds_to_bytes(0.5), 22050);
    EXPECT_EQ(mono->seconds_to_bytes(-1.0), -1);
    EXPECT_NEAR(mono->bytes_to_seconds(mono->length_bytes()), 2.0, 0.06);
}

TEST(Stream, VolumeScalesTheLevelAndGlidesWithinOneBlock) {
    auto stream = open_stream("s16_48000_long.wav");
    ASSERT_TRUE(stream);
    Mixer mixer;
    mixer.add(stream);
    ASSERT_TRUE(stream->play(false));
    pull(mixer, 4800);
    EXPECT_NEAR(test::rms(pull(mixer, 4800)), tone_rms, 0.01);
    ASSERT_TRUE(stream->set_volume(0.25f));
    EXPECT_FLOAT_EQ(stream->volume(), 0.25f);
    std::vector<float> glide = pull(mixer, 4800);
    // The block after the change ramps from 1 to 0.25: louder at its start than at its end.
    std::vector<float> head(glide.begin(), glide.begin() + 960), tail(glide.end() - 960, glide.end());
    EXPECT_GT(test::rms(head), test::rms(tail));
    EXPECT_NEAR(test::rms(pull(mixer, 4800)), tone_rms * 0.25, 0.005);
    ASSERT_TRUE(stream->set_volume(0.0f));
    pull(mixer, 480);
    EXPECT_EQ(test::rms(pull(mixer, 4800)), 0.0);
    EXPECT_FALSE(stream->set_volume(-0.5f));
    EXPECT_FALSE(stream->set_volume(std::numeric_limits<float>::quiet_NaN()));
}

TEST(Mixer, SumsStreamsAppliesItsGainAndForgetsRemovedOnes) {
    auto a = open_stream("s16_48000_long.wav");
    auto b = open_stream("s16_48000_long.wav");
    ASSERT_TRUE(a && b);
    Mixer mixer;
    mixer.add(a);
    mixer.add(b);
    a->set_volume(0.5f);
    b->set_volume(0.5f);
    a->play(false);
    b->play(false);
    EXPECT_NEAR(test::rms(pull(mixer, 4800)), tone_rms, 0.01) << "two in-phase halves make one whole";
    mixer.set_gain(0.5f);
    EXPECT_NEAR(test::rms(pull(mixer, 4800)), tone_rms * 0.5, 0.01);
    mixer.remove(a.get());
    mixer.remove(b.get());
    EXPECT_EQ(test::rms(pull(mixer, 4800)), 0.0);
}

// The output thread's work: decoding, converting and mixing a block never allocates, from the
// first block on, whatever its size. (The decoders' own C libraries are not counted.)
TEST(Mixer, RendersEveryFormatWithoutAllocating) {
    Mixer mixer;
    std::vector<std::shared_ptr<Stream>> streams;
    for (const char* name : {"mpeg1_cbr_44100_stereo.mp3", "u8_22050_mono.wav", "vorbis_22050_mono.ogg",
                             "flac_48000_mono_24.flac", "opus_stereo.opus"}) {
        streams.push_back(open_stream(name));
        ASSERT_TRUE(streams.back()) << name;
        mixer.add(streams.back());
        ASSERT_TRUE(streams.back()->play(false));
    }
    std::vector<float> out(48000 * 2);
    counted_news = 0;
    bool playing = true;
    for (size_t frames : {1, 480, 1024, 4410, 9600, 24000, 480})
        playing = mixer.render(out.data(), frames, 2) && playing;
    const long news = counted_news;
    counted_news = -1;
    EXPECT_TRUE(playing);
    EXPECT_EQ(news, 0);
    EXPECT_GT(test::rms(std::vector<float>(out.begin(), out.begin() + 960)), 0.3) << "it did mix";
}

TEST(Stream, SpectrumPeaksAtTheTone) {
    auto stream = open_stream("s16_48000_long.wav");
    ASSERT_TRUE(stream);
    auto before = stream->spectrum();
    EXPECT_EQ(*std::max_element(before.begin(), before.end()), 0.0f) << "nothing played yet";
    Mixer mixer;
    mixer.add(stream);
    stream->play(false);
    pull(mixer, 4800);
    auto bins = stream->spectrum();
    size_t peak = static_cast<size_t>(std::max_element(bins.begin(), bins.end()) - bins.begin());
    EXPECT_EQ(peak, 5u) << "1 kHz at 48 kHz falls into bin 1000 * 256 / 48000 = 5.3";
    // Half scale, a third of a bin off the grid: the Hann window keeps 0.93 of it.
    EXPECT_NEAR(bins[peak], 0.5 * 0.93, 0.03);
    EXPECT_LT(bins[40], 0.01f);
}

} // namespace
} // namespace audiolib
