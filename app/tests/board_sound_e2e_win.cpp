// The board with the real bass.dll: what its clicks make arrive at the sound device. Wine's
// output lands in the WAV file named by SOUNDBOARD_CAPTURE; the test reads what arrived after a
// point in time (the header may be unfinished: the data starts at byte 44).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "app/tests/board_driver_win.h"

namespace board_test {
namespace {

constexpr std::size_t kHeader = 44;

std::string CapturePath() {
  char value[MAX_PATH] = {};
  const DWORD size = GetEnvironmentVariableA("SOUNDBOARD_CAPTURE", value, MAX_PATH);
  if (size == 0 || size >= MAX_PATH) return {};
  std::string path = std::string("Z:") + value;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

struct Captured {
  long rate = 0;
  std::vector<float> first;  // the first channel
};

// What reached the device since byte `from` of the capture file (from its start when the file
// was made anew since, as each opening of the output does).
Captured CapturedSince(std::size_t from) {
  const std::string bytes = ReadWholeFile(CapturePath());
  Captured captured;
  if (bytes.size() < kHeader) return captured;
  auto u16 = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8); };
  const unsigned tag = u16(20), channels = u16(22), bits = u16(34);
  captured.rate = static_cast<long>(u16(24) | u16(26) << 16);
  if (channels == 0) return captured;
  std::size_t at = from < kHeader || from > bytes.size() ? kHeader : from;
  const std::size_t frame = channels * bits / 8;
  at = kHeader + (at - kHeader) / frame * frame;
  // ALSA's file plugin labels float data as integer PCM; Wine's mixer gives 32-bit floats.
  const bool floats = bits == 32 && (tag == 3 || tag == 1);
  for (; at + frame <= bytes.size(); at += frame) {
    if (floats) {
      float v;
      std::memcpy(&v, bytes.data() + at, 4);
      captured.first.push_back(v);
    } else if (bits == 16) {
      std::int16_t v;
      std::memcpy(&v, bytes.data() + at, 2);
      captured.first.push_back(v / 32768.0f);
    }
  }
  return captured;
}

std::size_t CaptureSize() {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(CapturePath().c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

double Rms(const std::vector<float>& samples) {
  if (samples.empty()) return 0.0;
  double sum = 0.0;
  for (float v : samples) sum += static_cast<double>(v) * v;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

// The frequency of a steady tone from its upward zero crossings.
double Frequency(const Captured& captured) {
  if (captured.first.size() < 2 || captured.rate == 0) return 0.0;
  int crossings = 0;
  for (std::size_t i = 1; i < captured.first.size(); ++i) {
    if (captured.first[i - 1] < 0.0f && captured.first[i] >= 0.0f) ++crossings;
  }
  return crossings * static_cast<double>(captured.rate) / static_cast<double>(captured.first.size());
}

// What arrives during the next stretch of time, after the output's buffer has caught up.
Captured Listen(std::chrono::milliseconds time = 1000ms) {
  PumpFor(500ms);
  const std::size_t mark = CaptureSize();
  PumpFor(time);
  return CapturedSince(mark);
}

TEST(BoardSound, TheLaughterButtonPlaysItsFileTheSliderScalesItAndStopSilencesIt) {
  ASSERT_FALSE(CapturePath().empty()) << "SOUNDBOARD_CAPTURE is not set";
  BoardFolder folder(DistFolder() + "\\plugins\\bass.dll");
  folder.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n");
  // A steady 440 Hz tone at half scale stands in for the laughter.
  folder.AddSound("群众笑声", FromBuild(SB_TEST_LONG_TONE));
  Board board(folder);
  ASSERT_TRUE(board.Started());
  HWND laughter = board.Control("Button", "群众笑声");
  HWND stop = board.Control("Button", "停止播放");
  ASSERT_TRUE(laughter && stop && board.Slider());

  const double before = Rms(Listen(500ms).first);
  EXPECT_LT(before, 0.01) << "sound before any click";

  Click(laughter);
  const Captured full = Listen();
  ASSERT_GT(full.first.size(), 1000u) << "nothing arrived at " << CapturePath();
  const double fullLevel = Rms(full.first);
  EXPECT_NEAR(fullLevel, 0.5 / std::sqrt(2.0), 0.06);
  EXPECT_NEAR(Frequency(full), 440.0, 20.0);

  ASSERT_TRUE(FocusControl(board.Slider()));
  PressKey(VK_PRIOR, 5);
  ASSERT_EQ(SendMessageA(board.Slider(), TBM_GETPOS, 0, 0), 50);
  const double halfLevel = Rms(Listen().first);
  EXPECT_NEAR(halfLevel / fullLevel, 0.5, 0.08) << "full " << fullLevel << ", at 50 " << halfLevel;

  Click(stop);
  const Captured stopped = Listen();
  EXPECT_LT(Rms(stopped.first), 0.01) << "still sounding after the stop button";

  // Played again after the stop: from the start, at the slider's level.
  Click(laughter);
  EXPECT_NEAR(Rms(Listen().first), halfLevel, 0.05);
  EXPECT_TRUE(board.Close());
}

// A button whose file is missing, or is no sound the library can read, silences the effect
// that plays and plays nothing itself.
TEST(BoardSound, AButtonWithoutAPlayableFileSilencesTheEffectThatPlays) {
  for (const bool present : {false, true}) {
    SCOPED_TRACE(present ? "an undecodable file" : "no file");
    BoardFolder folder(DistFolder() + "\\plugins\\bass.dll");
    folder.WriteText("diRaConfig.ini", "[init]\r\nwriteFile=1\r\n");
    folder.AddSound("群众笑声", FromBuild(SB_TEST_LONG_TONE));
    if (present) folder.WriteText("data\\music\\激烈掌声.mp3", std::string(4096, 'x'));
    Board board(folder);
    ASSERT_TRUE(board.Started());
    Click(board.Control("Button", "群众笑声"));
    ASSERT_GT(Rms(Listen().first), 0.2);
    Click(board.Control("Button", "激烈掌声"));
    EXPECT_LT(Rms(Listen().first), 0.01);
    EXPECT_TRUE(board.Running()) << "the board ended on the file";
    EXPECT_TRUE(board.Close());
  }
}

}  // namespace
}  // namespace board_test
