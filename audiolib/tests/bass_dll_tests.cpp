// bass.dll through its exported calls, playing into the capture file Wine's ALSA output writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "bass_api.h"
#include "capture.h"
#include "converter.h"
#include "decoder.h"
#include "test_support.h"

namespace {

using namespace audiolib::test;
using clock_type = std::chrono::steady_clock;
constexpr BassQword failed = ~BassQword{0};
constexpr double tone_rms = 0.5 / 1.41421356;

// A second ALSA output (defined in the project's asound.conf) listed to Wine before the first
// device question, so there is a device 2 to open. Taken away again when the tests end.
struct SecondOutput {
    SecondOutput() {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers\\winealsa.drv", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        static const char names[] = "soundboard_second\0";
        RegSetValueExA(key, "ALSAOutputDevices", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(names), sizeof names);
        RegCloseKey(key);
    }
    ~SecondOutput() { RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers\\winealsa.drv", "ALSAOutputDevices"); }
} second_output;

void sleep_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool wait_until_stopped(BassHandle handle, int timeout_ms) {
    for (auto until = clock_type::now() + std::chrono::milliseconds(timeout_ms); clock_type::now() < until; sleep_ms(10))
        if (BASS_ChannelIsActive(handle) == bass_active_stopped) return true;
    return false;
}

BassHandle open_file(const std::string& name) { return BASS_StreamCreateFile(FALSE, fixture(name).c_str(), 0, 0, 0); }

struct BassTest : ::testing::Test {
    void TearDown() override { BASS_Free(); }
};

TEST_F(BassTest, NumbersDevicesAndOpensOneAtATime) {
    EXPECT_EQ(BASS_GetDevice(), 0xFFFFFFFFu) << "nothing open";
    BassDeviceInfo info {};
    ASSERT_TRUE(BASS_GetDeviceInfo(0, &info));
    EXPECT_STREQ(info.name, "No sound");
    ASSERT_TRUE(BASS_GetDeviceInfo(1, &info));
    EXPECT_STRNE(info.name, "");
    EXPECT_TRUE(info.flags & bass_device_default);
    const char* default_name = info.name;
    ASSERT_TRUE(BASS_GetDeviceInfo(2, &info));
    EXPECT_NE(std::string(info.name).find("soundboard_second"), std::string::npos) << info.name;
    EXPECT_FALSE(info.flags & bass_device_default);
    EXPECT_FALSE(BASS_GetDeviceInfo(3, &info)) << "past the last";
    EXPECT_FALSE(BASS_GetDeviceInfo(1, nullptr));

    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_GetDevice(), 1u);
    ASSERT_TRUE(BASS_GetDeviceInfo(1, &info));
    EXPECT_TRUE(info.flags & bass_device_init);
    EXPECT_EQ(info.name, default_name) << "names stay where they were";
    EXPECT_FALSE(BASS_Init(2, 44100, 0, nullptr, nullptr)) << "one open device at a time";
    EXPECT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_GetDevice(), 0xFFFFFFFFu);
    EXPECT_FALSE(BASS_Init(3, 44100, 0, nullptr, nullptr)) << "no such device";
    EXPECT_FALSE(BASS_Init(99, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, fixture("s16_44100_stereo.wav").c_str(), 0, 0, 0), 0u) << "no device open";
}

TEST_F(BassTest, TheSecondDeviceGetsTheSound) {
    ASSERT_TRUE(BASS_Init(2, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_GetDevice(), 2u);
    BassHandle stream = open_file("s16_44100_stereo.wav");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(wait_until_stopped(stream, 3000));
    ASSERT_TRUE(BASS_Free());
    Capture second = read_capture(capture_path("SOUNDBOARD_CAPTURE2"));
    ASSERT_GT(second.rate, 0);
    std::vector<float> tone = sounding_part(second, 0.05f);
    EXPECT_NEAR(static_cast<double>(tone.size()) / second.rate, 1.0, 0.03);
    EXPECT_NEAR(dominant_frequency(tone, second.rate), 1000.0, 10.0);
}

// The level of the file itself, decoded and converted by the library's own core: lossy files
// are a little below the tone they were made from.
double source_level(const std::string& name, long rate) {
    auto decoder = audiolib::open_decoder(audiolib::open_file_source(fixture(name).c_str(), 0, 0));
    if (!decoder) return 0;
    audiolib::Converter converter(*decoder, rate, 2);
    std::vector<float> frames(static_cast<size_t>(rate) * 2 * 3);
    frames.resize(converter.render(frames.data(), frames.size() / 2) * 2);
    std::vector<float> left = channel_of(frames, 2, 0);
    size_t edge = static_cast<size_t>(rate / 20);
    if (left.size() <= 2 * edge) return 0;
    return rms({left.begin() + static_cast<long>(edge), left.end() - static_cast<long>(edge)});
}

struct PlayCase {
    const char* file;
    bool from_memory;
    float volume;
    float master;
    double seconds;
};

class PlaysIntoTheDevice : public BassTest, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(PlaysIntoTheDevice, WhatArrivesIsTheToneAtTheSetLevel) {
    const PlayCase& c = GetParam();
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle stream;
    if (c.from_memory) {
        // Behind 1000 other bytes, and the block is gone before the sound plays.
        std::vector<unsigned char> bytes(1000, 0xAB), file = read_bytes(fixture(c.file));
        bytes.insert(bytes.end(), file.begin(), file.end());
        stream = BASS_StreamCreateFile(TRUE, bytes.data(), 1000, file.size(), 0);
    } else {
        stream = open_file(c.file);
    }
    ASSERT_NE(stream, 0u) << c.file;
    ASSERT_TRUE(BASS_ChannelSetAttribute(stream, bass_attrib_vol, c.volume));
    ASSERT_TRUE(BASS_SetVolume(c.master));
    EXPECT_FLOAT_EQ(BASS_GetVolume(), c.master);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_EQ(BASS_ChannelIsActive(stream), bass_active_playing);
    ASSERT_TRUE(wait_until_stopped(stream, static_cast<int>(c.seconds * 1000) + 2000));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, 0), BASS_ChannelGetLength(stream, 0));
    sleep_ms(50);
    ASSERT_TRUE(BASS_Free());

    Capture capture = read_capture(capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    const double level = source_level(c.file, capture.rate) * c.volume * c.master;
    EXPECT_NEAR(level / (c.volume * c.master), tone_rms, 0.03) << "the file holds the tone";
    std::vector<float> tone = sounding_part(capture, static_cast<float>(level * 0.5));
    EXPECT_NEAR(static_cast<double>(tone.size()) / capture.rate, c.seconds, 0.03) << c.file;
    // Away from the edges, where encoders and the resampler settle.
    size_t edge = static_cast<size_t>(capture.rate / 20);
    ASSERT_GT(tone.size(), 4 * edge);
    std::vector<float> middle(tone.begin() + static_cast<long>(edge), tone.end() - static_cast<long>(edge));
    EXPECT_NEAR(dominant_frequency(middle, capture.rate), 1000.0, 10.0);
    EXPECT_NEAR(rms(middle), level, level * 0.02);
    EXPECT_LT(residual_after_sine(middle, capture.rate, 1000.0), 0.02) << "the waveform is the tone";
}

INSTANTIATE_TEST_SUITE_P(Files, PlaysIntoTheDevice,
                         ::testing::Values(PlayCase{"mpeg1_cbr_44100_stereo.mp3", false, 1.0f, 1.0f, 2.0},
                                           PlayCase{"mpeg2_cbr_22050_mono.mp3", false, 0.5f, 1.0f, 2.0},
                                           PlayCase{"mpeg1_vbr_44100_stereo.mp3", true, 1.0f, 0.5f, 2.0},
                                           PlayCase{"s16_44100_stereo.wav", false, 0.5f, 1.0f, 1.0},
                                           PlayCase{"s24_48000_stereo_ext.wav", true, 0.8f, 0.5f, 1.0},
                                           PlayCase{"vorbis_named.mp3", false, 1.0f, 1.0f, 2.0},
                                           PlayCase{"flac_48000_mono_24.flac", true, 0.5f, 1.0f, 2.0},
                                           PlayCase{"opus_named.mp3", false, 1.0f, 0.5f, 2.0}));

TEST_F(BassTest, StopSilencesAtOnceAndPlayGoesOnWhereItStopped) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle stream = open_file("s16_48000_long.wav"); // 3 s
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    sleep_ms(600);
    ASSERT_TRUE(BASS_ChannelStop(stream));
    // The position is what was handed to the device; the device may hold some of it in its buffer.
    double handed_over = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, 0));
    EXPECT_EQ(BASS_ChannelIsActive(stream), bass_active_stopped);
    EXPECT_GT(handed_over, 0.5);
    sleep_ms(300);
    EXPECT_EQ(BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, 0)), handed_over) << "stopped means stopped";
    ASSERT_TRUE(BASS_Free());
    Capture capture = read_capture(capture_path("SOUNDBOARD_CAPTURE"));
    std::vector<float> tone = sounding_part(capture, 0.1f);
    // Nothing more of it reaches the device after the period in which Stop was called (10 ms).
    EXPECT_NEAR(static_cast<double>(tone.size()) / capture.rate, handed_over, 0.011);

    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    stream = open_file("s16_48000_long.wav");
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    sleep_ms(300);
    ASSERT_TRUE(BASS_ChannelPause(stream));
    EXPECT_EQ(BASS_ChannelIsActive(stream), bass_active_paused);
    EXPECT_FALSE(BASS_ChannelPause(stream));
    BassQword paused_at = BASS_ChannelGetPosition(stream, 0);
    sleep_ms(200);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, 0), paused_at);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    sleep_ms(100);
    EXPECT_GT(BASS_ChannelGetPosition(stream, 0), paused_at);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_LT(BASS_ChannelGetPosition(stream, 0), paused_at) << "restart goes back to the start";
}

TEST_F(BassTest, SilentDeviceRunsInRealTime) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_GetDevice(), 0u);
    BassHandle stream = open_file("s16_44100_stereo.wav"); // 1 s
    ASSERT_NE(stream, 0u);
    auto started = clock_type::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    sleep_ms(500);
    double waited = std::chrono::duration<double>(clock_type::now() - started).count();
    EXPECT_NEAR(BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetPosition(stream, 0)), waited, 0.05);
    EXPECT_EQ(BASS_ChannelIsActive(stream), bass_active_playing);
    EXPECT_TRUE(wait_until_stopped(stream, 1000));
    double ended = std::chrono::duration<double>(clock_type::now() - started).count();
    EXPECT_NEAR(ended, 1.0, 0.05);
}

TEST_F(BassTest, FreeWithLiveStreamsEndsThemAndTheirHandles) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle a = open_file("s16_48000_long.wav");
    BassHandle b = open_file("mpeg1_cbr_44100_stereo.mp3");
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_TRUE(BASS_ChannelPlay(b, FALSE));
    sleep_ms(200);
    auto before = clock_type::now();
    ASSERT_TRUE(BASS_Free());
    EXPECT_LT(std::chrono::duration<double>(clock_type::now() - before).count(), 0.25);
    for (BassHandle handle : {a, b}) {
        EXPECT_EQ(BASS_ChannelIsActive(handle), bass_active_stopped);
        EXPECT_FALSE(BASS_ChannelPlay(handle, FALSE));
        EXPECT_FALSE(BASS_StreamFree(handle));
    }
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle c = open_file("s16_48000_long.wav");
    EXPECT_TRUE(c != a && c != b) << "handles are not reused";
    EXPECT_TRUE(BASS_StreamFree(c));
    EXPECT_FALSE(BASS_ChannelStop(c));
}

TEST_F(BassTest, UnreadableInputGivesNoStreamAndBreaksNothing) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    for (const char* name : {"empty.mp3", "truncated_header.wav", "truncated_first_frame.mp3", "picture.mp3", "missing.mp3"})
        EXPECT_EQ(open_file(name), 0u) << name;
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "fixtures", 0, 0, 0), 0u) << "a directory";
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "", 0, 0, 0), 0u);
    std::mt19937 random(7);
    std::vector<unsigned char> noise(50000);
    for (auto& byte : noise) byte = static_cast<unsigned char>(random());
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, noise.data(), 0, noise.size(), 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, noise.data(), 0, 0, 0), 0u) << "no length";
    EXPECT_EQ(BASS_StreamCreateURL("http://localhost/a.mp3", 0, 0, nullptr, nullptr), 0u) << "not offered";

    BassHandle good = open_file("mpeg1_cbr_44100_stereo.mp3");
    ASSERT_NE(good, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(good, FALSE));
    EXPECT_EQ(BASS_ChannelIsActive(good), bass_active_playing);
}

TEST_F(BassTest, OpensAnsiFileNames) {
    const std::string name = "群众笑声.mp3"; // GBK bytes, as the board passes them
    ASSERT_TRUE(CopyFileA(fixture("mpeg1_cbr_44100_stereo.mp3").c_str(), name.c_str(), FALSE));
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_NE(BASS_StreamCreateFile(FALSE, name.c_str(), 0, 0, 0), 0u);
    DeleteFileA(name.c_str());
}

TEST_F(BassTest, LengthPositionAndTheirUnits) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    BassHandle stream = open_file("s16_44100_stereo.wav"); // 1 s, 16-bit stereo
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelGetLength(stream, bass_pos_byte), 176400u);
    EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, 176400), 1.0);
    EXPECT_EQ(BASS_ChannelSeconds2Bytes(stream, 0.5), 88200u);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, bass_pos_byte), 0u);
    EXPECT_TRUE(BASS_ChannelSetPosition(stream, 88200, bass_pos_byte));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, bass_pos_byte), 88200u);
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, 176404, bass_pos_byte)) << "past the end";
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, 0, 1)) << "only byte positions";
    EXPECT_EQ(BASS_ChannelGetLength(stream, 1), failed);

    BassHandle mp3 = open_file("mpeg2_cbr_22050_mono.mp3"); // 2 s, 16-bit mono
    EXPECT_NEAR(static_cast<double>(BASS_ChannelGetLength(mp3, 0)), 88200.0, 2304.0);

    const BassHandle stale = 12345;
    EXPECT_EQ(BASS_ChannelGetLength(stale, 0), failed);
    EXPECT_EQ(BASS_ChannelGetPosition(stale, 0), failed);
    EXPECT_LT(BASS_ChannelBytes2Seconds(stale, 100), 0.0);
    EXPECT_EQ(BASS_ChannelSeconds2Bytes(stale, 1.0), failed);
}

TEST_F(BassTest, VolumeTagsAndSpectrum) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle stream = open_file("id3_tagged.mp3");
    ASSERT_NE(stream, 0u);
    float volume = -1;
    ASSERT_TRUE(BASS_ChannelGetAttribute(stream, bass_attrib_vol, &volume));
    EXPECT_EQ(volume, 1.0f);
    ASSERT_TRUE(BASS_ChannelSetAttribute(stream, bass_attrib_vol, 0.3f));
    ASSERT_TRUE(BASS_ChannelGetAttribute(stream, bass_attrib_vol, &volume));
    EXPECT_FLOAT_EQ(volume, 0.3f);
    EXPECT_FALSE(BASS_ChannelSetAttribute(stream, 1, 0.5f)) << "only the volume";
    EXPECT_FALSE(BASS_ChannelSetAttribute(stream, bass_attrib_vol, -1.0f));
    EXPECT_FALSE(BASS_ChannelGetAttribute(stream, bass_attrib_vol, nullptr));

    ASSERT_NE(BASS_ChannelGetTags(stream, 0), nullptr);
    EXPECT_STREQ(BASS_ChannelGetTags(stream, 0), "Crowd laughter");
    EXPECT_EQ(BASS_ChannelGetTags(stream, 5), nullptr);
    BassHandle untagged = open_file("s16_44100_stereo.wav");
    EXPECT_EQ(BASS_ChannelGetTags(untagged, 0), nullptr);

    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    sleep_ms(300);
    float bins[128] = {};
    EXPECT_EQ(BASS_ChannelGetData(stream, bins, bass_data_fft256), 512u);
    size_t peak = static_cast<size_t>(std::max_element(bins, bins + 128) - bins);
    EXPECT_TRUE(peak == 5 || peak == 6) << "1 kHz at 44.1 or 48 kHz, bin " << peak;
    EXPECT_GT(bins[peak], 0.3f) << "before the stream's volume";
    EXPECT_EQ(BASS_ChannelGetData(stream, bins, 1024), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_ChannelGetData(0, bins, bass_data_fft256), 0xFFFFFFFFu);
}

// A MIDI file under another name, rendered with the patch set that lies beside bass.dll, found by
// the DLL's own path while the current directory is elsewhere: C4 for 0.5 s, a rest, G4 from 1.0 s
// to the end of the song at 1.5 s (make_fixtures.sh).
TEST_F(BassTest, MidiPlaysWithThePatchSetBesideTheLibrary) {
    char path[MAX_PATH], here[MAX_PATH], temp[MAX_PATH];
    ASSERT_TRUE(GetFullPathNameA(fixture("midi_named.mp3").c_str(), MAX_PATH, path, nullptr));
    ASSERT_TRUE(GetCurrentDirectoryA(MAX_PATH, here));
    ASSERT_TRUE(GetTempPathA(MAX_PATH, temp));
    ASSERT_TRUE(SetCurrentDirectoryA(temp));
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    BassHandle stream = BASS_StreamCreateFile(FALSE, path, 0, 0, 0);
    SetCurrentDirectoryA(here);
    ASSERT_NE(stream, 0u);
    EXPECT_STREQ(BASS_ChannelGetTags(stream, 0), "Test Tune");
    EXPECT_EQ(BASS_ChannelGetLength(stream, 0), 72000u * 4) << "1.5 s of 16-bit stereo at 48 kHz";
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    ASSERT_TRUE(wait_until_stopped(stream, 1500 + 2000));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, 0), BASS_ChannelGetLength(stream, 0));
    sleep_ms(50);
    ASSERT_TRUE(BASS_Free());

    Capture capture = read_capture(capture_path("SOUNDBOARD_CAPTURE"));
    ASSERT_GT(capture.rate, 0);
    std::vector<float> tune = sounding_part(capture, 0.01f);
    const double rate = static_cast<double>(capture.rate);
    EXPECT_NEAR(static_cast<double>(tune.size()) / rate, 1.5, 0.05) << "from the first note to the end of the song";
    ASSERT_GT(tune.size(), static_cast<size_t>(rate * 1.45));
    auto span = [&](double from, double to) {
        return std::vector<float>(tune.begin() + static_cast<long>(from * rate), tune.begin() + static_cast<long>(to * rate));
    };
    std::vector<float> first = span(0.05, 0.45), rest = span(0.8, 0.95), second = span(1.05, 1.4);
    EXPECT_GT(rms(first), 0.01);
    EXPECT_GT(rms(second), 0.01);
    EXPECT_LT(rms(rest), rms(first) / 10) << "the rest between the notes";
    EXPECT_NEAR(dominant_frequency(first, rate), 261.6, 10.0) << "C4";
    EXPECT_NEAR(dominant_frequency(second, rate), 392.0, 10.0) << "G4";
}

// Length, seeking and the title through the exported calls, for every format beside MP3.
TEST_F(BassTest, EveryFormatTellsItsLengthSeeksAndNamesItsTitle) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    struct Case {
        const char* file;
        BassQword length; // in 16-bit frames of the source's rate and channels
        double seconds;
        const char* title;
    };
    for (const Case& c : {Case{"vorbis_44100_stereo.ogg", 88200 * 4, 2.0, "Crowd laughter"},
                          Case{"flac_44100_stereo.flac", 88200 * 4, 2.0, "Crowd laughter"},
                          Case{"opus_stereo.opus", 96000 * 4, 2.0, "Crowd laughter"},
                          Case{"flac_48000_mono_24.flac", 96000 * 2, 2.0, nullptr},
                          // MIDI: the rendered samples, 16-bit stereo at 48 kHz, to the song's last event.
                          Case{"midi_tune.mid", 72000 * 4, 1.5, "Test Tune"},
                          Case{"midi_untitled.mid", 72000 * 4, 1.5, nullptr}}) {
        BassHandle stream = open_file(c.file);
        ASSERT_NE(stream, 0u) << c.file;
        EXPECT_EQ(BASS_ChannelGetLength(stream, 0), c.length) << c.file;
        EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, c.length), c.seconds) << c.file;
        if (c.title) EXPECT_STREQ(BASS_ChannelGetTags(stream, 0), c.title) << c.file;
        else EXPECT_EQ(BASS_ChannelGetTags(stream, 0), nullptr) << c.file;
        const BassQword half = c.length / 2;
        ASSERT_TRUE(BASS_ChannelSetPosition(stream, half, 0)) << c.file;
        EXPECT_EQ(BASS_ChannelGetPosition(stream, 0), half) << c.file;
        EXPECT_FALSE(BASS_ChannelSetPosition(stream, c.length + 4, 0)) << c.file;
        // The rest plays out in real time on the silent device.
        ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
        EXPECT_TRUE(wait_until_stopped(stream, 1500)) << c.file;
        EXPECT_EQ(BASS_ChannelGetPosition(stream, 0), c.length) << c.file;
        EXPECT_TRUE(BASS_StreamFree(stream));
    }
    for (const char* name :
         {"truncated_header.ogg", "truncated_header.flac", "truncated_header.opus", "flac_in_ogg.oga", "truncated_header.mid"})
        EXPECT_EQ(open_file(name), 0u) << name;
}

TEST_F(BassTest, MasterVolumeNeedsAnOpenOutput) {
    EXPECT_FALSE(BASS_SetVolume(0.5f));
    EXPECT_LT(BASS_GetVolume(), 0.0f);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_GetVolume(), 1.0f);
    EXPECT_FALSE(BASS_SetVolume(1.5f));
    EXPECT_TRUE(BASS_SetVolume(0.0f));
    EXPECT_EQ(BASS_GetVolume(), 0.0f);
}

} // namespace
