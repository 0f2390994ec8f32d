// The player over a recording stand-in bass.dll (what it calls, with what, and what it makes of
// the answers), over the real library (a sound from a file plays), and with a library or a
// function missing (the runtime's fatal report).
#include "audio/audio_player.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "runtime/tests/test_support.h"

namespace audio {
namespace {

using runtime::testing::ErrorCapture;
using runtime::testing::FatalEnd;
using runtime::testing::TestDirectory;

const std::string kFixtures = "..\\audiolib\\fixtures\\";

// A table that looks for "bass.dll" in one folder beside the test, as the board looks in "plugins".
struct TableIn {
  explicit TableIn(const std::string& folder) {
    table.SetProgramPlaces(TestDirectory(false), TestDirectory());
    table.SetSearchDirectory(TestDirectory() + folder);
  }
  ~TableIn() { table.Release(); }
  runtime::DllCommandTable table;
};

class PlayerOverProbe : public ::testing::Test {
 protected:
  PlayerOverProbe() {
    // The probe's own call log, reached through the module the table bound.
    player.FreeStream(0);
    HMODULE probe = probeTable.table.ModuleOf(bass::kStreamFree.index);
    calls = reinterpret_cast<const char* (*)()>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeCalls")));
    reset = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(probe, "ProbeReset")));
    if (reset) reset();
  }
  std::string Calls() const { return calls ? calls() : "<no probe>"; }

  TableIn probeTable{"probe"};
  AudioPlayer player{probeTable.table};
  const char* (*calls)() = nullptr;
  void (*reset)() = nullptr;
};

TEST_F(PlayerOverProbe, CreateStreamTakesTheFirstSourceThatIsThere) {
  const std::string existing = kFixtures + "s16_44100_stereo.wav";
  const std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 1, 2, 3};
  struct Case {
    const char* what;
    std::string file;
    bool withBytes;
    const char* url;
    std::int64_t offset;
    StreamHandle handle;
    std::string calls;
  } cases[] = {
      {"nothing at all", "", false, "", 0, 0, ""},
      {"an existing file wins", existing, true, "http://x", 5, 0x1001, "StreamCreateFile(0," + existing + ",5,0,0)\n"},
      {"a missing file gives way to the bytes", "nosuch.mp3", true, "http://x", 2, 0x1002,
       "StreamCreateFile(1,RIFF,2,7,0)\n"},
      {"the offset goes on as a signed 64-bit value", "", true, "", -1, 0x1002,
       "StreamCreateFile(1,RIFF,ffffffffffffffff,7,0)\n"},
      {"then the URL", "nosuch.mp3", false, "http://x", 9, 0x1003, "StreamCreateURL(http://x,9,0,0000000000000000,0000000000000000)\n"},
      {"a missing file alone asks nothing", "nosuch.mp3", false, "", 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    reset();
    runtime::ByteSetRef set = c.withBytes ? runtime::ByteSetRef(bytes) : runtime::ByteSetRef();
    EXPECT_EQ(player.CreateStream(runtime::TextRef(c.file), set, runtime::TextRef(c.url), c.offset), c.handle);
    EXPECT_EQ(Calls(), c.calls);
  }
}

TEST_F(PlayerOverProbe, PlayWithHandleZeroCallsNothing) {
  EXPECT_FALSE(player.Play(0));
  EXPECT_FALSE(player.Play(0, false));
  EXPECT_EQ(Calls(), "");
  EXPECT_TRUE(player.Play(0x1001));
  EXPECT_FALSE(player.Play(0x1002, false)) << "BASS's own answer comes back";
  EXPECT_EQ(Calls(), "ChannelPlay(1001,1)\nChannelPlay(1002,0)\n");
}

TEST_F(PlayerOverProbe, PassesEachOperationOnAsDeclared) {
  EXPECT_TRUE(player.Init());
  EXPECT_FALSE(player.Init(99));
  EXPECT_TRUE(player.Init(2, 48000, 4));
  EXPECT_TRUE(player.Free());
  EXPECT_TRUE(player.Pause(0x1001));
  EXPECT_TRUE(player.Stop(0x1001));
  EXPECT_TRUE(player.SetPosition(0x1001, 0x123456789));
  EXPECT_TRUE(player.FreeStream(0x1001));
  EXPECT_TRUE(player.SetMasterVolume(0.5f));
  EXPECT_EQ(player.GetMasterVolume(), 0.25f);
  EXPECT_TRUE(player.SetChannelVolume(0x1001, 0.42f));
  float volume = 0;
  EXPECT_TRUE(player.GetChannelVolume(0x1001, volume));
  EXPECT_EQ(volume, 0.75f);
  EXPECT_EQ(player.IsActive(0x1001), 3);
  EXPECT_DOUBLE_EQ(player.BytesToSeconds(0x1001, 1500), 1.5);
  EXPECT_EQ(Calls(),
            "Init(-1,44100,0,0000000000000000,0000000000000000)\n"
            "Init(99,44100,0,0000000000000000,0000000000000000)\n"
            "Init(2,48000,4,0000000000000000,0000000000000000)\n"
            "Free()\n"
            "ChannelPause(1001)\n"
            "ChannelStop(1001)\n"
            "ChannelSetPosition(1001,123456789,0)\n"
            "StreamFree(1001)\n"
            "SetVolume(0.50)\n"
            "ChannelSetAttribute(1001,2,0.42)\n"
            "ChannelGetAttribute(1001,2)\n"
            "ChannelIsActive(1001)\n"
            "ChannelBytes2Seconds(1001,1500)\n");
}

TEST_F(PlayerOverProbe, PositionsAndLengthsKeepTheirLow32Bits) {
  EXPECT_EQ(player.GetPosition(0x1001), 7);
  EXPECT_EQ(player.GetLength(0x1001), static_cast<std::int32_t>(0x80000010u));
  EXPECT_EQ(player.SecondsToBytes(0x1001, 2.5), 2500);
  EXPECT_EQ(Calls(), "ChannelGetPosition(1001,0)\nChannelGetLength(1001,0)\nChannelSeconds2Bytes(1001,2.500)\n");
}

TEST_F(PlayerOverProbe, GetTagsCopiesTheTitleOrGivesTheEmptyText) {
  runtime::TextValue title = player.GetTags(0x1001);
  EXPECT_EQ(title.view(), "群众笑声");
  EXPECT_TRUE(player.GetTags(0x1002).empty());
  EXPECT_EQ(Calls(), "ChannelGetTags(1001,0)\nChannelGetTags(1002,0)\n");
}

TEST_F(PlayerOverProbe, GetSpectrumReplacesTheCallersArray) {
  runtime::Array<float> spectrum{1.0f, 2.0f, 3.0f};
  EXPECT_EQ(player.GetSpectrum(0x1001, spectrum), 512);
  ASSERT_EQ(spectrum.count(), 128u);
  EXPECT_EQ(spectrum.Get(1), 0.0f);
  EXPECT_EQ(spectrum.Get(128), 127.0f / 128.0f);
  EXPECT_EQ(Calls(), "ChannelGetData(1001,80000000)\n");
}

TEST_F(PlayerOverProbe, DrawSpectrumAsksForTheFftAndPaintsTheBoard) {
  HWND board = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(board, nullptr);
  player.DrawSpectrum(board, 0x1001);
  EXPECT_EQ(Calls(), "ChannelGetData(1001,80000000)\n");
  DestroyWindow(board);
  player.DrawSpectrum(board, 0x1001);  // a board that is gone: asked, nothing drawn, nothing breaks
}

TEST(AudioPlayer, ColourComponentSplitsAColorref) {
  const std::int32_t colour = 0x00332211;  // blue 0x33, green 0x22, red 0x11
  struct Case {
    std::int32_t which, expected;
  } cases[] = {{1, 0x11}, {2, 0x22}, {3, 0x33}, {0, 0}, {4, 0}, {-1, 0}};
  for (const Case& c : cases) EXPECT_EQ(AudioPlayer::ColourComponent(colour, c.which), c.expected) << c.which;
}

TEST(AudioPlayer, CopyIsANewPlayerOverTheSameTable) {
  TableIn probe("probe");
  AudioPlayer player(probe.table);
  std::unique_ptr<AudioPlayer> copy = player.Copy();
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), &player);
  EXPECT_TRUE(copy->Init());
}

// The fatal report a call makes; fails the test when it makes none.
template <class Call>
ErrorCapture::Report FatalReportOf(Call call) {
  ErrorCapture capture;
  try {
    call();
  } catch (const FatalEnd& end) {
    EXPECT_EQ(end.exitCode, -1);
    if (capture.reports.size() == 1) return capture.reports[0];
  }
  ADD_FAILURE() << "no single fatal report";
  return {};
}

TEST(AudioPlayer, MissingLibraryOrFunctionEndsInTheFatalReport) {
  TableIn nowhere("nowhere");
  AudioPlayer lost(nowhere.table);
  ErrorCapture::Report missing = FatalReportOf([&] { lost.Init(); });
  EXPECT_EQ(missing.code, 0);
  EXPECT_EQ(missing.text, "无法找到指定DLL库文件“bass.dll”中的输出命令“BASS_Init”");

  TableIn partial("partial");
  AudioPlayer older(partial.table);
  EXPECT_TRUE(older.Stop(1)) << "what the library has still works";
  ErrorCapture::Report lacking = FatalReportOf([&] { older.Pause(1); });
  EXPECT_EQ(lacking.code, 0);
  EXPECT_EQ(lacking.text, "无法找到指定DLL库文件“bass.dll”中的输出命令“BASS_ChannelPause”");
}

TEST(AudioPlayer, PlaysAFileThroughTheRealLibrary) {
  TableIn plugins("plugins");
  AudioPlayer player(plugins.table);
  ASSERT_TRUE(player.Init(0));  // the silent device: time runs, nothing needs a sound card
  EXPECT_EQ(player.CreateStream(runtime::TextRef(kFixtures + "nosuch.mp3"), {}, {}), 0u);

  // Two effects in a row, as the board plays them: free the first, then create the second.
  StreamHandle first = player.CreateStream(runtime::TextRef(kFixtures + "mpeg1_cbr_44100_stereo.mp3"), {}, {});
  ASSERT_NE(first, 0u);
  EXPECT_TRUE(player.SetChannelVolume(first, 0.5f));
  EXPECT_TRUE(player.Play(first));
  EXPECT_EQ(player.IsActive(first), 1);
  EXPECT_TRUE(player.FreeStream(first));
  StreamHandle second = player.CreateStream(runtime::TextRef(kFixtures + "s16_44100_stereo.wav"), {}, {});
  ASSERT_NE(second, 0u);
  EXPECT_NE(second, first);
  EXPECT_EQ(player.IsActive(first), 0) << "the first is gone";
  EXPECT_FALSE(player.Stop(first));
  EXPECT_EQ(player.GetLength(second), 176400);
  EXPECT_TRUE(player.Play(second));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_GT(player.GetPosition(second), 0);
  EXPECT_DOUBLE_EQ(player.BytesToSeconds(second, 176400), 1.0);
  EXPECT_TRUE(player.Stop(second));
  EXPECT_EQ(player.IsActive(second), 0);
  EXPECT_TRUE(player.Play(second, true));
  EXPECT_LT(player.GetPosition(second), 176400 / 5) << "restart goes back to the start";

  // After the output is released the old handle still passes through; BASS just says no.
  EXPECT_TRUE(player.Free());
  EXPECT_FALSE(player.Stop(second));
  EXPECT_FALSE(player.FreeStream(second));
  EXPECT_EQ(player.CreateStream(runtime::TextRef(kFixtures + "s16_44100_stereo.wav"), {}, {}), 0u) << "no output open";
}

}  // namespace
}  // namespace audio
