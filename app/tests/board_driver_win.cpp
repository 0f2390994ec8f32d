#include "app/tests/board_driver_win.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace board_test {
namespace {

// The board's main window title starts with the product name.
constexpr char kMainTitle[] = "岚铎声板";

std::string TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  const std::string path = std::string(base) + "board_e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                           std::to_string(++counter);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return text.substr(begin, end - begin);
}

void SendKeys(const std::vector<INPUT>& inputs) {
  std::vector<INPUT> copy = inputs;
  SendInput(static_cast<UINT>(copy.size()), copy.data(), sizeof(INPUT));
}

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

LPARAM CentreOf(HWND control) {
  RECT rect;
  GetClientRect(control, &rect);
  return MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2);
}

}  // namespace

std::string FromBuild(const std::string& path) { return !path.empty() && path[0] == '/' ? "Z:" + path : path; }
std::string DistFolder() { return FromBuild(SB_TEST_DIST_DIR); }
std::string RecordingBassDll() { return FromBuild(SB_TEST_RECORDING_BASS); }

namespace {

constexpr char kRecordedPage[] = "SbRecordedPage";

std::string DefaultValue(HKEY root, const char* key) {
  char value[256] = {};
  LONG size = sizeof value;
  return RegQueryValueA(root, key, value, &size) == ERROR_SUCCESS ? std::string(value) : std::string();
}

bool SetDefaultValue(HKEY root, const std::string& key, const std::string& value) {
  return RegSetValueA(root, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
}

}  // namespace

PageOpener::PageOpener(const std::string& logPath) : oldKind_(DefaultValue(HKEY_CLASSES_ROOT, ".html")) {
  SetEnvironmentVariableA("SB_LINK_LOG", logPath.c_str());
  const std::string command = "\"" + FromBuild(SB_TEST_LINK_RECORDER) + "\" \"%1\"";
  ready_ = SetDefaultValue(HKEY_CLASSES_ROOT, std::string(kRecordedPage) + "\\shell\\open\\command", command) &&
           SetDefaultValue(HKEY_CLASSES_ROOT, ".html", kRecordedPage);
}

PageOpener::~PageOpener() {
  if (!oldKind_.empty()) SetDefaultValue(HKEY_CLASSES_ROOT, ".html", oldKind_);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kRecordedPage);
  SetEnvironmentVariableA("SB_LINK_LOG", nullptr);
}

BoardFolder::BoardFolder(const std::string& bassDll) : path_(TempFolder()) {
  CreateDirectoryA(File("plugins").c_str(), nullptr);
  CreateDirectoryA(File("data").c_str(), nullptr);
  CreateDirectoryA(File("data\\music").c_str(), nullptr);
  CopyFileA((DistFolder() + "\\soundboard.exe").c_str(), Program().c_str(), FALSE);
  CopyFileA(bassDll.c_str(), File("plugins\\bass.dll").c_str(), FALSE);
}

BoardFolder::~BoardFolder() { RemoveTree(path_); }

void BoardFolder::AddSound(const std::string& caption, const std::string& source) const {
  if (source.empty()) {
    WriteText("data\\music\\" + caption + ".mp3", "not really sound");
  } else {
    CopyFileA(source.c_str(), Sound(caption).c_str(), FALSE);
  }
}

void BoardFolder::WriteText(const std::string& relative, const std::string& text) const {
  std::ofstream out(File(relative), std::ios::binary);
  out << text;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadWholeFile(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

IniFile ReadIni(const std::string& path) {
  IniFile ini;
  std::string section;
  for (const std::string& raw : ReadLines(path)) {
    const std::string line = Trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      ini[section];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      ini[section].emplace_back(line, "(no value)");
    } else {
      ini[section].emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
  }
  return ini;
}

std::string IniValue(const IniFile& ini, const std::string& section, const std::string& key) {
  const auto found = ini.find(section);
  if (found == ini.end()) return "(missing)";
  for (const auto& [name, value] : found->second) {
    if (_stricmp(name.c_str(), key.c_str()) == 0) return value;
  }
  return "(missing)";
}

void PumpFor(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpFor(20ms);
  }
  return true;
}

std::string WindowText(HWND window) {
  char text[4096] = {};
  // WM_GETTEXT reaches controls of another process; GetWindowText would not ask them. A busy
  // board must not read as an empty caption.
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                           &copied)) {
    return "(no answer)";
  }
  return text;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

namespace {

// This process's environment with the recording bass.dll's answers in place of any inherited
// ones, so that boards started side by side each get their own.
std::string EnvironmentFor(const std::string& logPath, const BassAnswers& answers) {
  std::string block;
  if (char* strings = GetEnvironmentStringsA()) {
    for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
      if (_strnicmp(entry, "SB_BASS_", 8) != 0) block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(strings);
  }
  auto add = [&](const char* name, const std::string& value) {
    if (!value.empty()) block.append(name).append("=").append(value).push_back('\0');
  };
  add("SB_BASS_LOG", logPath);
  add("SB_BASS_DEVICE", answers.device);
  add("SB_BASS_DEVICES", answers.devices);
  add("SB_BASS_INIT_FAIL", answers.initFail);
  block.push_back('\0');
  return block;
}

}  // namespace

Board::Board(const BoardFolder& folder, const std::string& logPath, const BassAnswers& answers) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + folder.Program() + "\"";
  std::string environment = EnvironmentFor(logPath, answers);
  if (!CreateProcessA(folder.Program().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                      folder.Path().c_str(), &startup, &process_)) {
    process_ = {};
    return;
  }
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows()) {
          if (WindowText(window).rfind(kMainTitle, 0) == 0) {
            main_ = window;
            return true;
          }
        }
        return !Running();
      },
      20s);
  // The Created handler has run once the window shows; give its tail (the shortcut) a moment.
  if (main_) WaitUntil([&] { return Control("ComboBox", "") != nullptr; }, 5s);
}

Board::~Board() {
  if (!process_.hProcess) return;
  if (Running()) {
    if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Board::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Board::Close(std::chrono::milliseconds limit) {
  if (!main_) return false;
  PostMessageA(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

std::vector<HWND> Board::TopLevelWindows() const {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process_.dwProcessId, {}};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Board::WaitForWindow(const std::string& titlePrefix, const char* className,
                          std::chrono::milliseconds limit) const {
  HWND result = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows()) {
          if (window == main_) continue;
          if (className && _stricmp(ClassOf(window).c_str(), className) != 0) continue;
          if (WindowText(window).rfind(titlePrefix, 0) == 0) {
            result = window;
            return true;
          }
        }
        return false;
      },
      limit);
  return result;
}

HWND Board::Control(const char* className, const std::string& text) const {
  if (!main_) return nullptr;
  for (HWND child : Descendants(main_)) {
    if (_stricmp(ClassOf(child).c_str(), className) != 0) continue;
    if (text.empty() || WindowText(child) == text) return child;
  }
  return nullptr;
}

HWND Board::PageControl() const { return Control("SysTabControl32", ""); }
HWND Board::Combo() const { return Control("ComboBox", ""); }
HWND Board::Slider() const { return Control("msctls_trackbar32", ""); }

HWND Board::PageButtonAt(int left, int top) const {
  HWND page = PageControl();
  if (!page) return nullptr;
  for (HWND child : Descendants(page)) {
    if (GetParent(child) != page || _stricmp(ClassOf(child).c_str(), "Button") != 0) continue;
    RECT rect;
    GetWindowRect(child, &rect);
    POINT corner{rect.left, rect.top};
    ScreenToClient(page, &corner);
    if (corner.x == left && corner.y == top) return child;
  }
  return nullptr;
}

// Posted, not sent: a handler that opens a modal dialog must not hold the driver up.
void Click(HWND control) {
  const LPARAM at = CentreOf(control);
  PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(control, WM_LBUTTONUP, 0, at);
}

void RightClick(HWND control) {
  const LPARAM at = CentreOf(control);
  PostMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageA(control, WM_RBUTTONUP, 0, at);
}

void ClickAt(HWND window, int x, int y) {
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  PumpFor(100ms);
  POINT at{x, y};
  ClientToScreen(window, &at);
  // Arriving by a move, as a mouse does: a control may track the pointer before the press.
  SetCursorPos(at.x - 1, at.y);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dx = 1;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
  PumpFor(200ms);
}

bool FocusControl(HWND control) {
  HWND top = GetAncestor(control, GA_ROOT);
  const DWORD target = GetWindowThreadProcessId(control, nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(self, target, TRUE);
  SetForegroundWindow(top);
  SetFocus(control);
  const bool focused = GetFocus() == control;
  AttachThreadInput(self, target, FALSE);
  PumpFor(100ms);
  return focused;
}

void PressCombination(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(Key(key, false));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(Key(*key, true));
  SendKeys(inputs);
  PumpFor(100ms);
}

void PressKey(WORD key, int times) {
  for (int i = 0; i < times; ++i) PressCombination({key});
}

std::string MessageBoxText(HWND box) {
  // The message is the dialog's static text with the id 0xFFFF.
  if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
  std::string longest;
  for (HWND child : Descendants(box)) {
    if (_stricmp(ClassOf(child).c_str(), "Static") != 0) continue;
    const std::string text = WindowText(child);
    if (text.size() > longest.size()) longest = text;
  }
  return longest;
}

bool PressButton(HWND dialog, const std::string& text) {
  for (HWND child : Descendants(dialog)) {
    if (_stricmp(ClassOf(child).c_str(), "Button") == 0 && WindowText(child) == text && IsWindowVisible(child)) {
      PostMessageA(child, BM_CLICK, 0, 0);
      return true;
    }
  }
  return false;
}

HWND VisibleEdit(HWND dialog) {
  for (HWND child : Descendants(dialog)) {
    if (_stricmp(ClassOf(child).c_str(), "Edit") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

void SetText(HWND control, const std::string& text) {
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
}

// TTM_GETTEXTA carries a pointer, so its record and the text buffer live in the other process.
std::string TooltipText(DWORD processId, HWND control) {
  std::pair<DWORD, HWND> search(processId, nullptr);
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->first && _stricmp(ClassOf(window).c_str(), "tooltips_class32") == 0) {
          s->second = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.second) return "(no tooltip window)";
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return "(no access)";
  constexpr SIZE_T kSize = 4096, kTextAt = 512;
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
  std::string text = "(no memory)";
  if (remote) {
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = remote + kTextAt;
    const char empty[1] = {};
    WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
    WriteProcessMemory(process, remote + kTextAt, empty, 1, nullptr);
    SendMessageA(search.second, TTM_GETTEXTA, kSize - kTextAt, reinterpret_cast<LPARAM>(remote));
    char buffer[kSize - kTextAt] = {};
    if (ReadProcessMemory(process, remote + kTextAt, buffer, sizeof buffer - 1, nullptr)) text = buffer;
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return text;
}

std::string DesktopShortcut() {
  char desktop[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop);
  return std::string(desktop) + "\\soundboard.lnk";
}

FocusWindow::FocusWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "BoardTestFocus";
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, "BoardTestFocus", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 600, 300,
                            200, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(window_);
  SetFocus(window_);
  PumpFor(200ms);
}

FocusWindow::~FocusWindow() {
  if (window_) DestroyWindow(window_);
}

bool FocusWindow::HasFocus() const { return GetForegroundWindow() == window_; }

}  // namespace board_test
