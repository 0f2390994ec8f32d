#pragma once
// Drives the real board program from outside, the way a user would: a fresh copy of the program
// in a folder of its own, the process started and closed, clicks and keys sent to its windows,
// its dialogs and message boxes answered, and what it left behind (its INI file, the recording
// bass.dll's log, the desktop shortcut) read back.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace board_test {

using namespace std::chrono_literals;

// Where the build put things; set by the build through compile definitions. A Unix path of the
// build machine is taken as one on Wine's drive Z:.
std::string FromBuild(const std::string& path);
std::string DistFolder();          // the built program with its plugins/bass.dll
std::string RecordingBassDll();    // the recording double of bass.dll

// While it lives, web pages (.html files) open in the link recorder, which appends what it was
// given to `logPath` (through SB_LINK_LOG, which boards started meanwhile inherit).
class PageOpener {
 public:
  explicit PageOpener(const std::string& logPath);
  ~PageOpener();
  PageOpener(const PageOpener&) = delete;
  PageOpener& operator=(const PageOpener&) = delete;
  bool Ready() const { return ready_; }

 private:
  std::string oldKind_;
  bool ready_ = false;
};

// A copy of the board in a new temporary folder: soundboard.exe, plugins/bass.dll (the given
// one) and an empty data/music. Removed again with everything in it.
class BoardFolder {
 public:
  explicit BoardFolder(const std::string& bassDll);
  ~BoardFolder();
  BoardFolder(const BoardFolder&) = delete;
  BoardFolder& operator=(const BoardFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const { return path_ + "\\" + relative; }
  std::string Program() const { return File("soundboard.exe"); }
  std::string Ini() const { return File("diRaConfig.ini"); }
  std::string Sound(const std::string& caption) const { return File("data\\music\\" + caption + ".mp3"); }

  // data\music\<caption>.mp3 as a copy of source, or some bytes when source is empty (the
  // recording bass.dll only asks whether the file exists).
  void AddSound(const std::string& caption, const std::string& source = {}) const;
  void WriteText(const std::string& relative, const std::string& text) const;

 private:
  std::string path_;
};

// The board's INI file as a map of sections to keys in file order.
using IniFile = std::map<std::string, std::vector<std::pair<std::string, std::string>>>;
IniFile ReadIni(const std::string& path);
// The value of one key, or "(missing)".
std::string IniValue(const IniFile& ini, const std::string& section, const std::string& key);

std::vector<std::string> ReadLines(const std::string& path);
std::string ReadWholeFile(const std::string& path);

// The answers of the recording bass.dll (see recording_bass.cpp); an empty one leaves its default.
struct BassAnswers {
  std::string device = "1";
  std::string devices = "Speakers|Line out";
  std::string initFail;
};

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);

// The text that the tooltip window of a process holds for a control; "(...)" when it cannot tell.
std::string TooltipText(DWORD process, HWND control);

// A running board. Closing it is the caller's business (Close); the destructor only makes sure
// no process outlives a failed test.
class Board {
 public:
  // Starts the folder's program with the recording double's log at logPath (empty: no log).
  Board(const BoardFolder& folder, const std::string& logPath = {}, const BassAnswers& answers = {});
  ~Board();
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  bool Started() const { return main_ != nullptr; }
  HWND Main() const { return main_; }
  DWORD ProcessId() const { return process_.dwProcessId; }

  // WM_CLOSE to the main window; true when the process then ended within the limit.
  bool Close(std::chrono::milliseconds limit = 10s);
  bool Running() const;

  // A descendant control of the main window by class (as GetClassName gives it, case ignored)
  // and text; nullptr when there is none.
  HWND Control(const char* className, const std::string& text) const;
  // A button on the page control by its place in the page control's client area.
  HWND PageButtonAt(int left, int top) const;
  HWND PageControl() const;
  HWND Combo() const;
  HWND Slider() const;

  // A visible top-level window of the board's process whose title begins with the prefix
  // (and whose class is className, when given); waits up to limit.
  HWND WaitForWindow(const std::string& titlePrefix, const char* className = nullptr,
                     std::chrono::milliseconds limit = 10s) const;
  std::vector<HWND> TopLevelWindows() const;

  // The text the board's tooltip window holds for a control.
  std::string TooltipText(HWND control) const { return board_test::TooltipText(process_.dwProcessId, control); }

 private:
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// Mouse and keyboard, as the control's own thread sees them.
void Click(HWND control);
void RightClick(HWND control);
// A real left click through the input queue at a point of the window's client area, its
// top-level window brought to the front first: whatever window lies there gets it.
void ClickAt(HWND window, int x, int y);
// Gives the control the keyboard focus (its top-level window brought to the front first), so
// that SendInput's keys reach it.
bool FocusControl(HWND control);
// Presses the keys in order, then releases them in reverse order.
void PressCombination(const std::vector<WORD>& keys);
void PressKey(WORD key, int times = 1);

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
std::vector<HWND> Descendants(HWND parent);

// The message box's text (its static text control).
std::string MessageBoxText(HWND box);
// Presses a button of a dialog by its text.
bool PressButton(HWND dialog, const std::string& text);
// The visible edit control of a dialog (the input box keeps a hidden second one).
HWND VisibleEdit(HWND dialog);
void SetText(HWND control, const std::string& text);

// The path of the desktop shortcut the board makes for itself.
std::string DesktopShortcut();

// A top-level window of this process that holds the focus while global hotkeys are pressed.
class FocusWindow {
 public:
  FocusWindow();
  ~FocusWindow();
  FocusWindow(const FocusWindow&) = delete;
  FocusWindow& operator=(const FocusWindow&) = delete;
  HWND Handle() const { return window_; }
  bool HasFocus() const;

 private:
  HWND window_ = nullptr;
};

void PumpFor(std::chrono::milliseconds time);

}  // namespace board_test
