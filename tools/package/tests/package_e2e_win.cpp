// The two packages as a host meets them: the portable zip unpacked into a fresh folder, and the
// installer run silently, upgraded over and removed again. The build hands over (environment) the
// unpacked zip folder, the installer and a newer-numbered installer of the same files, and the
// capture file where Wine's sound output lands.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "app/tests/board_driver_win.h"

namespace board_test {
namespace {

constexpr char kMainTitle[] = "岚铎声板";
constexpr wchar_t kProduct[] = L"岚铎声板";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\soundboard";

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  const DWORD size = GetEnvironmentVariableA(name, value, MAX_PATH);
  return size > 0 && size < MAX_PATH ? value : "";
}

// A path of the build machine as Wine's drive Z: sees it.
std::string BuildPath(const char* variable) {
  std::string path = Environment(variable);
  if (path.empty()) return path;
  if (path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length - 1 : 0);
  return wide;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file under a folder, by its path relative to the folder.
std::set<std::string> FilesUnder(const std::string& folder, const std::string& prefix = {}) {
  std::set<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files.merge(FilesUnder(folder, prefix + name + "\\"));
    } else {
      files.insert(prefix + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return files;
}

void RemoveTree(const std::string& path) {
  const std::string from = path + std::string(1, '\0');  // a list of one, ended by a second zero
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationA(&operation);
}

// Whether a file holds exactly these bytes; tells the sizes when not.
::testing::AssertionResult Holds(const std::string& path, const std::string& bytes) {
  const std::string found = ReadWholeFile(path);
  if (found == bytes) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << path << " holds " << found.size() << " bytes, not the " << bytes.size()
                                       << " expected";
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Runs a program with the arguments and waits for it; its exit code, or -1.
long RunAndWait(const std::string& program, const std::wstring& arguments, DWORD limitMs = 120000) {
  std::wstring commandLine = L"\"" + Wide(program) + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

// ---- the board, started as a user starts it: by its program file, from some other folder ----

class StartedBoard {
 public:
  explicit StartedBoard(const std::string& program) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &process_)) {
      process_ = {};
      return;
    }
    WaitUntil([&] { return (main_ = FindMain()) != nullptr || !Running(); }, 20s);
    PumpFor(500ms);
  }
  ~StartedBoard() {
    if (!process_.hProcess) return;
    if (Running()) Close();
    if (Running()) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  StartedBoard(const StartedBoard&) = delete;
  StartedBoard& operator=(const StartedBoard&) = delete;

  HWND Main() const { return main_; }
  bool Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
  bool Close() {
    if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
  }

  // A sound button on the page that shows, whose demo sound is in the folder.
  HWND VisibleSoundButton(const std::string& music, std::string* caption) const {
    for (HWND child : Descendants(main_)) {
      if (_stricmp(ClassOf(child).c_str(), "Button") != 0 || !IsWindowVisible(child)) continue;
      const std::string text = WindowText(child);
      if (!text.empty() && Exists(music + "\\" + text + ".mp3")) {
        *caption = text;
        return child;
      }
    }
    return nullptr;
  }

 private:
  HWND FindMain() const {
    struct Search {
      DWORD process;
      HWND found;
    } search{process_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) {
          auto* s = reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == s->process && IsWindowVisible(window) && WindowText(window).rfind(kMainTitle, 0) == 0) {
            s->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// ---- what reaches the sound device ----

// A stretch of mono sound: the first channel.
struct Sound {
  double rate = 0;
  std::vector<float> samples;
};

std::size_t CaptureSize() {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(BuildPath("SOUNDBOARD_CAPTURE").c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

// What reached the device since byte `from` of the capture file (the header may be unfinished: the
// data starts at byte 44; ALSA's file plugin labels Wine's float data as integer PCM).
Sound CapturedSince(std::size_t from) {
  constexpr std::size_t kHeader = 44;
  const std::string bytes = ReadWholeFile(BuildPath("SOUNDBOARD_CAPTURE"));
  Sound sound;
  if (bytes.size() < kHeader) return sound;
  auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
  };
  const unsigned channels = u16(22), bits = u16(34);
  sound.rate = static_cast<double>(u16(24) | u16(26) << 16);
  if (channels == 0 || (bits != 32 && bits != 16)) return sound;
  const std::size_t frame = channels * bits / 8;
  std::size_t at = from < kHeader || from > bytes.size() ? kHeader : from;
  at = kHeader + (at - kHeader) / frame * frame;
  for (; at + frame <= bytes.size(); at += frame) {
    if (bits == 32) {
      float v;
      std::memcpy(&v, bytes.data() + at, 4);
      sound.samples.push_back(v);
    } else {
      std::int16_t v;
      std::memcpy(&v, bytes.data() + at, 2);
      sound.samples.push_back(v / 32768.0f);
    }
  }
  return sound;
}

// The demo sound as the board should play it: the MP3 decoded by mpg123.
Sound Decoded(const std::string& path) {
  Sound sound;
  const std::string bytes = ReadWholeFile(path);
  mpg123_init();
  mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
  if (!decoder) return sound;
  mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_FORCE_FLOAT, 0);
  mpg123_open_feed(decoder);
  mpg123_feed(decoder, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  long rate = 0;
  int channels = 1, encoding = 0;
  std::vector<unsigned char> block(1 << 16);
  for (;;) {
    std::size_t done = 0;
    const int result = mpg123_read(decoder, block.data(), block.size(), &done);
    if (result == MPG123_NEW_FORMAT) {
      mpg123_getformat(decoder, &rate, &channels, &encoding);
      continue;
    }
    const auto* floats = reinterpret_cast<const float*>(block.data());
    for (std::size_t i = 0; i + channels <= done / sizeof(float); i += channels) sound.samples.push_back(floats[i]);
    if (result != MPG123_OK) break;
  }
  mpg123_delete(decoder);
  sound.rate = static_cast<double>(rate);
  return sound;
}

// The part of a sound between its first and its last 20 ms that are not silent.
struct Heard {
  double seconds = 0;
  double level = 0;  // RMS over that part
};

Heard Listen(const Sound& sound) {
  Heard heard;
  if (sound.rate <= 0) return heard;
  const std::size_t window = static_cast<std::size_t>(sound.rate / 50);
  std::size_t first = 0, last = 0;
  bool any = false;
  for (std::size_t at = 0; at + window <= sound.samples.size(); at += window) {
    double sum = 0;
    for (std::size_t i = at; i < at + window; ++i) sum += static_cast<double>(sound.samples[i]) * sound.samples[i];
    if (std::sqrt(sum / window) > 0.01) {
      if (!any) first = at;
      any = true;
      last = at + window;
    }
  }
  if (!any) return heard;
  double sum = 0;
  for (std::size_t i = first; i < last; ++i) sum += static_cast<double>(sound.samples[i]) * sound.samples[i];
  heard.seconds = static_cast<double>(last - first) / sound.rate;
  heard.level = std::sqrt(sum / static_cast<double>(last - first));
  return heard;
}

// A real click on one of the board's sound buttons makes that button's demo sound reach the
// device: as long as the file and about as loud.
void ClickPlaysItsDemoSound(const std::string& folder) {
  ASSERT_FALSE(BuildPath("SOUNDBOARD_CAPTURE").empty()) << "SOUNDBOARD_CAPTURE is not set";
  StartedBoard board(folder + "\\soundboard.exe");
  ASSERT_NE(board.Main(), nullptr) << "the board's window did not show";
  std::string caption;
  HWND button = board.VisibleSoundButton(folder + "\\data\\music", &caption);
  ASSERT_NE(button, nullptr) << "no sound button with a demo sound shows";
  const Heard expected = Listen(Decoded(folder + "\\data\\music\\" + caption + ".mp3"));
  ASSERT_GT(expected.seconds, 0.2) << "the demo sound " << caption << " is silent";

  PumpFor(500ms);
  const std::size_t mark = CaptureSize();
  PumpFor(500ms);
  EXPECT_EQ(Listen(CapturedSince(mark)).seconds, 0.0) << "sound before the click";

  const std::size_t before = CaptureSize();
  RECT rect;
  GetClientRect(button, &rect);
  ClickAt(button, rect.right / 2, rect.bottom / 2);
  PumpFor(std::chrono::milliseconds(static_cast<int>(expected.seconds * 1000) + 1500));
  const Heard heard = Listen(CapturedSince(before));
  EXPECT_NEAR(heard.seconds, expected.seconds, 0.25) << caption;
  EXPECT_NEAR(heard.level, expected.level, expected.level * 0.3) << caption;
  EXPECT_TRUE(board.Close());
}

// ---- the installer's traces in the user's profile ----

std::wstring UninstallValue(const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  const std::wstring key = Wide(kUninstallKey);
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"(missing)";
  return value;
}

DWORD UninstallNumber(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  const std::wstring key = Wide(kUninstallKey);
  RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

bool UninstallKeyExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring StartMenuShortcut() {
  wchar_t programs[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
  return std::wstring(programs) + L"\\" + kProduct + L".lnk";
}

// The target of a shortcut, or "(none)".
std::wstring ShortcutTarget(const std::wstring& path) {
  std::wstring target = L"(none)";
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t found[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) && SUCCEEDED(link->GetPath(found, MAX_PATH, nullptr, 0)))
      target = found;
    file->Release();
  }
  link->Release();
  return target;
}

// The uninstaller runs from a copy of itself in the temp folder: done once its traces are gone.
void UninstallSilently(const std::string& folder) {
  ASSERT_EQ(RunAndWait(folder + "\\uninstall.exe", L"/S"), 0);
  EXPECT_TRUE(WaitUntil([&] { return !Exists(folder + "\\uninstall.exe") && !UninstallKeyExists(); }, 60s))
      << "the uninstaller did not finish";
  PumpFor(500ms);
}

class Packages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(unpacked_.empty() || setup_.empty() || nextSetup_.empty()) << "the build did not hand over the packages";
    ASSERT_TRUE(Exists(unpacked_ + "\\soundboard.exe")) << unpacked_;
    CoInitialize(nullptr);
    // What an earlier, failed run may have left in the profile.
    RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
    DeleteFileW(StartMenuShortcut().c_str());
    DeleteFileA(DesktopShortcut().c_str());
  }
  void TearDown() override {
    DeleteFileA(DesktopShortcut().c_str());
    CoUninitialize();
  }

  std::string Temporary(const std::string& name) const {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    const std::string path = std::string(base) + name + "_" + std::to_string(GetCurrentProcessId());
    RemoveTree(path);
    return path;
  }

  std::string unpacked_ = BuildPath("SB_PACKAGE_UNPACKED");
  std::string setup_ = BuildPath("SB_PACKAGE_SETUP");
  std::string nextSetup_ = BuildPath("SB_PACKAGE_NEXT_SETUP");
  std::wstring version_ = Wide(Environment("SB_PACKAGE_VERSION"));
  std::wstring nextVersion_ = Wide(Environment("SB_PACKAGE_NEXT_VERSION"));
};

TEST_F(Packages, TheUnpackedZipPlaysADemoSoundAndKeepsItsSettingsInItsFolder) {
  // A copy, so that the unpacked folder stays fresh for the next run.
  const std::string folder = Temporary("sb_portable");
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const std::string& file : FilesUnder(unpacked_)) {
    const std::string target = folder + "\\" + file;
    SHCreateDirectoryExA(nullptr, target.substr(0, target.rfind('\\')).c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((unpacked_ + "\\" + file).c_str(), target.c_str(), FALSE)) << file;
  }
  ASSERT_FALSE(Exists(folder + "\\diRaConfig.ini"));

  ClickPlaysItsDemoSound(folder);
  EXPECT_EQ(IniValue(ReadIni(folder + "\\diRaConfig.ini"), "init", "writeFile"), "1")
      << "the settings did not land beside the program";
  RemoveTree(folder);
}

TEST_F(Packages, SilentInstallUpgradeAndUninstallKeepTheUsersSettingsAndSounds) {
  const std::string folder = Temporary("sb_installed");
  ASSERT_EQ(RunAndWait(setup_, L"/S /D=" + Wide(folder)), 0);

  // The zip's files, byte for byte, and the uninstaller with its note of the demo sounds it added.
  const std::set<std::string> shipped = FilesUnder(unpacked_);
  std::set<std::string> expected = shipped;
  expected.insert({"uninstall.exe", "uninstall.dat"});
  EXPECT_EQ(FilesUnder(folder), expected);
  for (const std::string& file : shipped) {
    EXPECT_TRUE(Holds(folder + "\\" + file, ReadWholeFile(unpacked_ + "\\" + file))) << file;
  }
  EXPECT_EQ(_wcsicmp(ShortcutTarget(StartMenuShortcut()).c_str(), Wide(folder + "\\soundboard.exe").c_str()), 0)
      << "the Start-menu shortcut";
  EXPECT_FALSE(Exists(DesktopShortcut())) << "the installer made a desktop shortcut";
  EXPECT_EQ(UninstallValue(L"DisplayName"), kProduct);
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), version_);
  EXPECT_EQ(UninstallValue(L"DisplayIcon"), Wide(folder + "\\soundboard.exe,0"));
  EXPECT_EQ(UninstallValue(L"UninstallString"), Wide("\"" + folder + "\\uninstall.exe\""));
  std::size_t bytes = 0;
  for (const std::string& file : FilesUnder(folder)) bytes += ReadWholeFile(folder + "\\" + file).size();
  EXPECT_NEAR(UninstallNumber(L"EstimatedSize"), bytes / 1024.0, bytes / 1024.0 * 0.1);

  ClickPlaysItsDemoSound(folder);

  // The host's own: changed settings, a sound of their own, a demo sound deleted.
  const std::string ini = folder + "\\diRaConfig.ini";
  const std::string settings = "[init]\r\nwriteFile=1\r\n[music]\r\nvolume=37\r\nname3=我的\r\n";
  WriteBytes(ini, settings);
  const std::string demo = *FilesUnder(folder, "data\\music\\").begin();
  const std::string ownSound = folder + "\\data\\music\\我的音效.mp3";
  const std::string ownBytes = ReadWholeFile(BuildPath("SB_PACKAGE_USER_SOUND"));
  ASSERT_GT(ownBytes.size(), 1000u);
  WriteBytes(ownSound, ownBytes);
  ASSERT_TRUE(DeleteFileA((folder + "\\" + demo).c_str()));

  {
    // A running board holds the newer installer off: it asks to close the board, and silently gives up.
    StartedBoard board(folder + "\\soundboard.exe");
    ASSERT_NE(board.Main(), nullptr);
    EXPECT_EQ(RunAndWait(nextSetup_, L"/S /D=" + Wide(folder)), 2);
    EXPECT_EQ(UninstallValue(L"DisplayVersion"), version_);
    EXPECT_FALSE(Exists(folder + "\\" + demo)) << "files were replaced while the board ran";
    EXPECT_TRUE(board.Close());
  }
  // Whatever that start wrote: these are the settings the upgrade has to keep.
  WriteBytes(ini, settings);

  ASSERT_EQ(RunAndWait(nextSetup_, L"/S /D=" + Wide(folder)), 0);
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), nextVersion_);
  EXPECT_TRUE(Holds(ini, settings));
  EXPECT_TRUE(Holds(ownSound, ownBytes));
  EXPECT_TRUE(Holds(folder + "\\" + demo, ReadWholeFile(unpacked_ + "\\" + demo))) << "the missing demo sound";
  expected.insert({"diRaConfig.ini", "data\\music\\我的音效.mp3"});
  EXPECT_EQ(FilesUnder(folder), expected);

  UninstallSilently(folder);
  EXPECT_EQ(FilesUnder(folder), (std::set<std::string>{"diRaConfig.ini", "data\\music\\我的音效.mp3"}));
  EXPECT_TRUE(Holds(ini, settings));
  EXPECT_TRUE(Holds(ownSound, ownBytes));
  EXPECT_EQ(GetFileAttributesW(StartMenuShortcut().c_str()), INVALID_FILE_ATTRIBUTES) << "the Start-menu shortcut";
  EXPECT_FALSE(UninstallKeyExists());
  RemoveTree(folder);
}

TEST_F(Packages, ByDefaultIntoTheUsersProgramsFolderWhereASoundOfTheUsersUnderADemoNameStays) {
  char local[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local), S_OK);
  const std::string folder = std::string(local) + "\\Programs\\soundboard";
  RemoveTree(folder);
  const std::string demo = *FilesUnder(unpacked_, "data\\music\\").begin();
  const std::string ownBytes = ReadWholeFile(BuildPath("SB_PACKAGE_USER_SOUND"));
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, (folder + "\\data\\music").c_str(), nullptr), ERROR_SUCCESS);
  WriteBytes(folder + "\\" + demo, ownBytes);

  ASSERT_EQ(RunAndWait(setup_, L"/S"), 0);
  EXPECT_TRUE(Exists(folder + "\\soundboard.exe"));
  EXPECT_TRUE(Holds(folder + "\\" + demo, ownBytes)) << "the demo sound replaced the user's";
  UninstallSilently(folder);
  EXPECT_EQ(FilesUnder(folder), std::set<std::string>{demo});
  RemoveTree(folder);
}

TEST_F(Packages, TheInstallerRefusesAFolderTheAnsiCodePageCannotName) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  // Hangul, which code page 936 lacks.
  const std::wstring folder = Wide(temp) + L"sb_" + std::to_wstring(GetCurrentProcessId()) + L"_\uc548\ub155";
  EXPECT_EQ(RunAndWait(setup_, L"/S /D=" + folder), 3);
  EXPECT_EQ(GetFileAttributesW((folder + L"\\soundboard.exe").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(UninstallKeyExists());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace board_test
