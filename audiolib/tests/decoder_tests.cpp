// Decoding and conversion of the portable core, on the files the build generates.
#include <gtest/gtest.h>

#include <cstring>
#include <fmt123.h>
#include <random>

#include "converter.h"
#include "decoder.h"
#include "test_support.h"

namespace audiolib {
namespace {

using test::fixture;

std::unique_ptr<Decoder> open_file(const std::string& name) {
    return open_decoder(open_file_source(fixture(name).c_str(), 0, 0));
}

std::unique_ptr<Decoder> open_memory(const std::vector<unsigned char>& bytes) {
    return open_decoder(make_memory_source(bytes.data(), bytes.size()));
}

std::vector<float> convert_all(Decoder& decoder, long rate, int channels) {
    Converter converter(decoder, rate, channels);
    std::vector<float> out, block(1000 * static_cast<size_t>(channels));
    while (size_t frames = converter.render(block.data(), 1000))
        out.insert(out.end(), block.begin(), block.begin() + static_cast<long>(frames * static_cast<size_t>(channels)));
    return out;
}

// Skips the first and last 50 ms, where resampler and encoder settle.
std::vector<float> middle(const std::vector<float>& samples, double rate) {
    size_t edge = static_cast<size_t>(rate * 0.05);
    if (samples.size() <= 2 * edge) return {};
    return {samples.begin() + static_cast<long>(edge), samples.end() - static_cast<long>(edge)};
}

struct Expected {
    const char* file;
    long rate;
    int channels;
    int encoding;
    int64_t frames;
};

// Every fixture is a 1 kHz sine at half scale: 0.354 RMS.
constexpr double tone_rms = 0.5 / 1.41421356;

class DecodesTone : public ::testing::TestWithParam<Expected> {};

TEST_P(DecodesTone, FormatLengthAndSignalSurviveConversionToTheOutput) {
    const Expected& e = GetParam();
    auto decoder = open_file(e.file);
    ASSERT_TRUE(decoder) << e.file;
    EXPECT_EQ(decoder->format().rate, e.rate);
    EXPECT_EQ(decoder->format().channels, e.channels);
    EXPECT_EQ(decoder->format().encoding, e.encoding);
    EXPECT_NEAR(static_cast<double>(decoder->length()), static_cast<double>(e.frames), 1152.0);

    // Out at 48 kHz stereo, as a shared-mode device usually runs.
    std::vector<float> out = convert_all(*decoder, 48000, 2);
    EXPECT_NEAR(static_cast<double>(out.size() / 2), static_cast<double>(e.frames) * 48000.0 / e.rate, 48.0 + 1152.0 * 48000.0 / e.rate);
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<float> signal = middle(test::channel_of(out, 2, channel), 48000);
        ASSERT_FALSE(signal.empty());
        EXPECT_NEAR(test::dominant_frequency(signal, 48000), 1000.0, 10.0) << e.file;
        EXPECT_NEAR(test::rms(signal), tone_rms, 0.03) << e.file;
        EXPECT_LT(test::residual_after_sine(signal, 48000, 1000.0), 0.01) << e.file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wav, DecodesTone,
    ::testing::Values(Expected{"u8_22050_mono.wav", 22050, 1, MPG123_ENC_UNSIGNED_8, 22050},
                      Expected{"s16_44100_stereo.wav", 44100, 2, MPG123_ENC_SIGNED_16, 44100},
                      Expected{"s24_48000_stereo_ext.wav", 48000, 2, MPG123_ENC_SIGNED_24, 48000},
                      Expected{"s32_96000_mono.wav", 96000, 1, MPG123_ENC_SIGNED_32, 96000},
                      Expected{"f32_32000_stereo.wav", 32000, 2, MPG123_ENC_FLOAT_32, 32000},
                      Expected{"f64_8000_mono.wav", 8000, 1, MPG123_ENC_FLOAT_64, 8000}));

INSTANTIATE_TEST_SUITE_P(
    Mp3, DecodesTone,
    ::testing::Values(Expected{"mpeg1_cbr_44100_stereo.mp3", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"mpeg1_vbr_44100_stereo.mp3", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"mpeg2_cbr_22050_mono.mp3", 22050, 1, MPG123_ENC_FLOAT_32, 44100},
                      Expected{"mpeg25_cbr_8000_mono.mp3", 8000, 1, MPG123_ENC_FLOAT_32, 16000},
                      Expected{"id3_tagged.mp3", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"layer2_44100_stereo.mp3", 44100, 2, MPG123_ENC_FLOAT_32, 88200}));

// Lossy coders keep the tone's length exactly: their containers carry the sample count.
INSTANTIATE_TEST_SUITE_P(
    OggFlacOpus, DecodesTone,
    ::testing::Values(Expected{"vorbis_44100_stereo.ogg", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"vorbis_22050_mono.ogg", 22050, 1, MPG123_ENC_FLOAT_32, 44100},
                      Expected{"flac_44100_stereo.flac", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"flac_48000_mono_24.flac", 48000, 1, MPG123_ENC_FLOAT_32, 96000},
                      Expected{"opus_stereo.opus", 48000, 2, MPG123_ENC_FLOAT_32, 96000},
                      Expected{"opus_mono.opus", 48000, 1, MPG123_ENC_FLOAT_32, 96000},
                      // Named as something else: the bytes decide.
                      Expected{"vorbis_named.mp3", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"flac_named.wav", 44100, 2, MPG123_ENC_FLOAT_32, 88200},
                      Expected{"opus_named.mp3", 48000, 2, MPG123_ENC_FLOAT_32, 96000}));

TEST(Decoder, ConvertsToMonoAndToMoreChannels) {
    auto stereo = open_file("s16_44100_stereo.wav");
    ASSERT_TRUE(stereo);
    std::vector<float> mono = middle(convert_all(*stereo, 44100, 1), 44100);
    EXPECT_NEAR(test::rms(mono), tone_rms, 0.01);

    // A mono source on a 5.1 output: front left and right carry it, the rest stays silent.
    auto single = open_file("u8_22050_mono.wav");
    ASSERT_TRUE(single);
    std::vector<float> six = convert_all(*single, 48000, 6);
    EXPECT_NEAR(test::rms(middle(test::channel_of(six, 6, 1), 48000)), tone_rms, 0.03);
    EXPECT_LT(test::rms(test::channel_of(six, 6, 2)), 1e-6);
    EXPECT_LT(test::rms(test::channel_of(six, 6, 5)), 1e-6);
}

TEST(Decoder, ReadsTheTitleTag) {
    for (const char* name : {"id3_tagged.mp3", "vorbis_44100_stereo.ogg", "flac_44100_stereo.flac", "opus_stereo.opus"}) {
        auto tagged = open_file(name);
        ASSERT_TRUE(tagged) << name;
        EXPECT_EQ(tagged->title(), "Crowd laughter") << name;
    }
    for (const char* name : {"mpeg1_cbr_44100_stereo.mp3", "vorbis_22050_mono.ogg", "flac_48000_mono_24.flac", "opus_mono.opus"}) {
        auto plain = open_file(name);
        ASSERT_TRUE(plain) << name;
        EXPECT_EQ(plain->title(), "") << name;
    }
}

TEST(Decoder, SeeksToAFrame) {
    auto wav = open_file("s16_44100_stereo.wav");
    ASSERT_TRUE(wav);
    std::vector<unsigned char> bytes = test::read_bytes(fixture("s16_44100_stereo.wav"));
    ASSERT_TRUE(wav->seek(1000));
    int16_t frame[2];
    ASSERT_EQ(wav->read(frame, 1), 1u);
    EXPECT_EQ(std::memcmp(frame, bytes.data() + 44 + 1000 * 4, 4), 0);
    EXPECT_FALSE(wav->seek(44101));

    // Half way into two seconds: one second is left, and it is still the tone.
    for (const char* name : {"mpeg1_cbr_44100_stereo.mp3", "vorbis_44100_stereo.ogg", "flac_44100_stereo.flac", "opus_stereo.opus"}) {
        auto decoder = open_file(name);
        ASSERT_TRUE(decoder) << name;
        const long rate = decoder->format().rate;
        std::vector<float> all(static_cast<size_t>(rate) * 2);
        decoder->read(all.data(), static_cast<size_t>(rate) / 2); // somewhere else first
        ASSERT_TRUE(decoder->seek(rate)) << name;
        std::vector<float> rest(static_cast<size_t>(rate) * 2 * 2);
        size_t got = decoder->read(rest.data(), static_cast<size_t>(rate) * 2);
        EXPECT_NEAR(static_cast<double>(got), static_cast<double>(rate), 1152.0) << name;
        rest.resize(got * 2);
        EXPECT_NEAR(test::rms(middle(test::channel_of(rest, 2, 0), static_cast<double>(rate))), tone_rms, 0.03) << name;
        EXPECT_TRUE(decoder->seek(0)) << name;
        EXPECT_FALSE(decoder->seek(-1)) << name;
    }
    auto flac = open_file("flac_44100_stereo.flac");
    ASSERT_TRUE(flac);
    EXPECT_FALSE(flac->seek(88201)) << "past the end";
    ASSERT_TRUE(flac->seek(88200)) << "at the end";
    float last[2];
    EXPECT_EQ(flac->read(last, 1), 0u);
}

TEST(Decoder, WavCutInsideItsDataPlaysWhatIsThere) {
    auto cut = open_file("cut_in_data.wav");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->length(), (44144 - 44) / 4);
}

TEST(Decoder, WavWithTheSizeLeftOpenRunsToTheEndOfTheFile) {
    std::vector<unsigned char> bytes = test::read_bytes(fixture("s16_44100_stereo.wav"));
    ASSERT_GT(bytes.size(), 44u);
    std::memset(bytes.data() + 40, 0xFF, 4); // a writer that never came back to fill it in
    std::memset(bytes.data() + 4, 0xFF, 4);
    auto decoder = open_memory(bytes);
    ASSERT_TRUE(decoder);
    EXPECT_EQ(decoder->length(), 44100);
}

std::vector<unsigned char> wav_header(uint16_t tag, uint16_t channels, uint16_t bits) {
    std::vector<unsigned char> bytes = test::read_bytes(fixture("s16_44100_stereo.wav"));
    bytes[20] = static_cast<unsigned char>(tag), bytes[21] = static_cast<unsigned char>(tag >> 8);
    bytes[22] = static_cast<unsigned char>(channels);
    bytes[34] = static_cast<unsigned char>(bits);
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    bytes[32] = static_cast<unsigned char>(align);
    return bytes;
}

TEST(Decoder, RefusesWhatItCannotPlay) {
    for (const char* name : {"empty.mp3", "truncated_header.wav", "truncated_first_frame.mp3", "picture.mp3", "missing.mp3",
                             "truncated_header.ogg", "truncated_header.flac", "truncated_header.opus", "flac_in_ogg.oga",
                             "truncated_header.mid"})
        EXPECT_FALSE(open_file(name)) << name;
    EXPECT_FALSE(open_file("")) << "a directory";
    EXPECT_FALSE(open_decoder(open_file_source(".", 0, 0)));

    std::mt19937 random(12345);
    for (size_t size : {1u, 100u, 5000u, 200000u}) {
        std::vector<unsigned char> noise(size);
        for (auto& byte : noise) byte = static_cast<unsigned char>(random());
        EXPECT_FALSE(open_memory(noise)) << size << " random bytes";
    }
    EXPECT_FALSE(open_memory(wav_header(2, 2, 4))) << "ADPCM";
    EXPECT_FALSE(open_memory(wav_header(1, 6, 16))) << "six channels";
    EXPECT_FALSE(open_memory(wav_header(1, 2, 12))) << "12-bit";
}

// The MIDI fixtures (make_fixtures.sh): a tick is 250 frames at 48 kHz; a piano C4 from 0 to 0.5 s,
// G4 from 1.0 s to 1.5 s, where the song's last event ends it.
constexpr int64_t midi_frames = 72000;

std::vector<float> span(const std::vector<float>& mono, double from, double to) {
    return {mono.begin() + static_cast<long>(from * 48000), mono.begin() + static_cast<long>(to * 48000)};
}

TEST(Decoder, RendersMidiWithThePatchSet) {
    for (const char* name : {"midi_tune.mid", "midi_named.mp3", "midi_tune.rmi", "midi_untitled.mid"}) {
        auto decoder = open_file(name);
        ASSERT_TRUE(decoder) << name;
        EXPECT_EQ(decoder->format().rate, 48000) << name;
        EXPECT_EQ(decoder->format().channels, 2) << name;
        EXPECT_EQ(decoder->format().encoding, MPG123_ENC_SIGNED_16) << name;
        EXPECT_EQ(decoder->length(), midi_frames) << name;
        EXPECT_EQ(decoder->title(), std::string(name) == "midi_untitled.mid" ? "" : "Test Tune") << name;
        std::vector<float> all = convert_all(*decoder, 48000, 2);
        ASSERT_EQ(all.size(), static_cast<size_t>(midi_frames) * 2) << name;
        std::vector<float> left = test::channel_of(all, 2, 0);
        std::vector<float> first = span(left, 0.05, 0.45), rest = span(left, 0.8, 0.95), second = span(left, 1.05, 1.45);
        EXPECT_GT(test::rms(first), 0.01) << name;
        EXPECT_GT(test::rms(second), 0.01) << name;
        EXPECT_LT(test::rms(rest), test::rms(first) / 10) << name << ": the rest between the notes";
        // C4 is 261.6 Hz, G4 392 Hz (on the helper's 10 Hz grid).
        EXPECT_NEAR(test::dominant_frequency(first, 48000), 261.6, 10) << name;
        EXPECT_NEAR(test::dominant_frequency(second, 48000), 392, 10) << name;
    }
}

TEST(Decoder, SeeksInMidi) {
    auto decoder = open_file("midi_tune.mid");
    ASSERT_TRUE(decoder);
    std::vector<int16_t> start(2000), again(2000);
    ASSERT_EQ(decoder->read(start.data(), 1000), 1000u);
    std::vector<int16_t> rest(static_cast<size_t>(midi_frames) * 2);

    // Into the middle of G4: the note's start went by, so the seek lands on silence (notes that
    // started before the seek point stay off), to the frame.
    ASSERT_TRUE(decoder->seek(60010));
    EXPECT_EQ(decoder->read(rest.data(), static_cast<size_t>(midi_frames)), static_cast<size_t>(midi_frames - 60010));

    // To the start of G4, after the rest: the note plays from there.
    ASSERT_TRUE(decoder->seek(48000));
    size_t got = decoder->read(rest.data(), static_cast<size_t>(midi_frames));
    ASSERT_EQ(got, static_cast<size_t>(midi_frames - 48000));
    std::vector<float> left;
    for (size_t f = 0; f < got; ++f) left.push_back(static_cast<float>(rest[f * 2]) / 32768.0f);
    std::vector<float> note = span(left, 0.05, 0.45);
    EXPECT_GT(test::rms(note), 0.01);
    EXPECT_NEAR(test::dominant_frequency(note, 48000), 392, 10);

    // Back to the start: the same sound as the first time.
    ASSERT_TRUE(decoder->seek(0));
    ASSERT_EQ(decoder->read(again.data(), 1000), 1000u);
    EXPECT_EQ(start, again);

    EXPECT_FALSE(decoder->seek(-1));
    EXPECT_FALSE(decoder->seek(midi_frames + 1)) << "past the end";
    ASSERT_TRUE(decoder->seek(midi_frames)) << "at the end";
    EXPECT_EQ(decoder->read(rest.data(), 1), 0u);
    ASSERT_TRUE(decoder->seek(1)) << "after the end";
    EXPECT_EQ(decoder->read(rest.data(), static_cast<size_t>(midi_frames)), static_cast<size_t>(midi_frames - 1));
}

TEST(Decoder, RefusesMidiItCannotPlay) {
    std::vector<unsigned char> tune = test::read_bytes(fixture("midi_tune.mid"));
    ASSERT_GT(tune.size(), 14u);
    std::vector<unsigned char> no_division = tune;
    no_division[12] = no_division[13] = 0; // ticks per quarter note: zero
    EXPECT_FALSE(open_memory(no_division));
    std::vector<unsigned char> bad_format = tune;
    bad_format[9] = 7;
    EXPECT_FALSE(open_memory(bad_format));
    std::vector<unsigned char> no_track(tune.begin(), tune.begin() + 14);
    EXPECT_FALSE(open_memory(no_track)) << "a header alone";
    std::vector<unsigned char> rmid_of_wave = test::read_bytes(fixture("midi_tune.rmi"));
    std::memcpy(rmid_of_wave.data() + 20, "RIFF", 4);
    EXPECT_FALSE(open_memory(rmid_of_wave)) << "RMID without a MIDI file in it";
}

TEST(Decoder, FileRangeLimitsWhatIsRead) {
    const std::string wav = fixture("s16_44100_stereo.wav");
    auto first_thousand = open_decoder(open_file_source(wav.c_str(), 0, 44 + 4000));
    ASSERT_TRUE(first_thousand);
    EXPECT_EQ(first_thousand->length(), 1000);
    EXPECT_FALSE(open_file_source(wav.c_str(), 176444, 0)) << "offset at the end";
    EXPECT_FALSE(open_file_source(wav.c_str(), -1, 0));
}

} // namespace
} // namespace audiolib
