// The board against a plain Win32 program with as many controls, side by side, in one run:
//   sb_bench.exe <board.exe> <plain.exe> [runs]
// Both programs leave time marks in a file (SB_BENCH_MARKS); CPU, wake-ups and memory are read
// from outside, in the Linux process under Wine (through the Z: drive's /proc).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// ---- time ------------------------------------------------------------------------------------

long long Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double Milliseconds(long long ticks) {
  static const double frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  return static_cast<double>(ticks) * 1000.0 / frequency;
}

// ---- marks -----------------------------------------------------------------------------------

struct Mark {
  std::string name;
  long long start = 0, end = 0;  // a point has end == start
};

std::vector<Mark> ReadMarks(const std::string& path) {
  std::vector<Mark> marks;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Mark mark;
    if (!(fields >> mark.name >> mark.start)) continue;
    if (!(fields >> mark.end)) mark.end = mark.start;
    marks.push_back(mark);
  }
  return marks;
}

// The first mark called name that starts after the given time, if any.
const Mark* FirstAfter(const std::vector<Mark>& marks, const char* name, long long after) {
  for (const Mark& mark : marks) {
    if (mark.name == name && mark.start > after) return &mark;
  }
  return nullptr;
}

// ---- the Linux side of a Wine process --------------------------------------------------------

std::string ReadUnixFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  CloseHandle(file);
  return text;
}

std::vector<std::string> Folders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The Linux process whose command line names the program (Wine puts the Windows path there).
std::string UnixProcessOf(const std::string& programName) {
  const std::string wanted = Lower(programName);
  std::string newest;
  long newestNumber = -1;
  for (const std::string& name : Folders("Z:\\proc")) {
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string command = ReadUnixFile("Z:\\proc\\" + name + "\\cmdline");
    std::replace(command.begin(), command.end(), '\0', ' ');
    const long number = std::atol(name.c_str());
    if (Lower(command).find(wanted) != std::string::npos && number > newestNumber) {
      newest = name;
      newestNumber = number;
    }
  }
  return newest;
}

long long StatusField(const std::string& status, const char* field) {
  const std::size_t at = status.find(field);
  if (at == std::string::npos) return 0;
  return std::atoll(status.c_str() + at + std::char_traits<char>::length(field));
}

struct Activity {
  long long ticks = 0;   // user + system clock ticks of every thread
  long long wakes = 0;   // context switches of every thread
};

Activity ActivityOf(const std::string& unixPid) {
  Activity total;
  const std::string tasks = "Z:\\proc\\" + unixPid + "\\task";
  for (const std::string& task : Folders(tasks)) {
    const std::string stat = ReadUnixFile(tasks + "\\" + task + "\\stat");
    const std::size_t close = stat.rfind(')');
    if (close != std::string::npos) {
      std::istringstream fields(stat.substr(close + 2));
      std::string field;
      long long utime = 0, stime = 0;
      for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::atoll(field.c_str());
        if (i == 15) stime = std::atoll(field.c_str());
      }
      total.ticks += utime + stime;
    }
    const std::string status = ReadUnixFile(tasks + "\\" + task + "\\status");
    total.wakes += StatusField(status, "\nvoluntary_ctxt_switches:") + StatusField(status, "nonvoluntary_ctxt_switches:");
  }
  return total;
}

// ---- the program under test ------------------------------------------------------------------

struct Figures {
  double startup = 0;
  std::map<std::string, std::vector<std::pair<double, double>>> breakdown;  // name -> (from, length) in ms
  double workingSetMb = 0, privateMb = 0;
  double idleTicks = 0, idleWakes = 0;
  std::vector<double> switches, composes, buttonPaints;
};

struct Found {
  DWORD pid;
  HWND window;
};

BOOL CALLBACK FindMain(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<Found*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  RECT rect;
  if (pid == found->pid && IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left >= 400) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

HWND MainWindowOf(DWORD pid) {
  Found found{pid, nullptr};
  EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

struct Target {
  const char* className;
  const char* text;  // nullptr: any
  int firstX, step, y;
};

struct Search {
  const Target* target;
  HWND found;
};

BOOL CALLBACK FindTarget(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char className[64] = {}, text[64] = {};
  GetClassNameA(window, className, sizeof className);
  GetWindowTextA(window, text, sizeof text);
  if (lstrcmpiA(className, search->target->className) == 0 &&
      (!search->target->text || std::string(text) == search->target->text)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void Click(HWND window, int x, int y) {
  POINT at{x, y};
  ClientToScreen(window, &at);
  SetCursorPos(at.x - 1, at.y);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dx = 1;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

template <typename Condition>
bool WaitFor(Condition condition, int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (GetTickCount64() < end) {
    if (condition()) return true;
    Sleep(1);
  }
  return condition();
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// One start of the program: start-up, memory, idle, page switches, close.
std::optional<Figures> RunOnce(const std::string& program, const Target& tabs, const std::string& marksPath,
                               bool measure) {
  DeleteFileA(marksPath.c_str());
  SetEnvironmentVariableA("SB_BENCH_MARKS", marksPath.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + program + "\"";
  const long long created = Now();
  if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, FolderOf(program).c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "bench: cannot start %s (%lu)\n", program.c_str(), GetLastError());
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  Figures figures;
  HWND main = nullptr;
  long long idleAt = 0;
  // Visible and idle: the first time the loop waits with the main window shown.
  const bool started = WaitFor(
      [&] {
        if (!main) main = MainWindowOf(process.dwProcessId);
        if (!main) return false;
        for (const Mark& mark : ReadMarks(marksPath)) {
          if (mark.name == "idle") {
            idleAt = mark.start;
            return true;
          }
        }
        return false;
      },
      30000);
  auto finish = [&] {
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
  };
  if (!started) {
    std::fprintf(stderr, "bench: %s did not come up visible and idle\n", program.c_str());
    finish();
    return std::nullopt;
  }
  figures.startup = Milliseconds(idleAt - created);
  for (const Mark& mark : ReadMarks(marksPath)) {
    if (mark.start <= idleAt) {
      figures.breakdown[mark.name].push_back({Milliseconds(mark.start - created), Milliseconds(mark.end - mark.start)});
    }
  }

  // Let start-up's after-effects settle before measuring what stays.
  Sleep(2000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
    figures.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
  }
  const std::string unixPid = UnixProcessOf(FileName(program));
  if (!unixPid.empty()) {
    // Wine leaves the private bytes at 0: the anonymous resident memory stands in for them.
    const std::string status = ReadUnixFile("Z:\\proc\\" + unixPid + "\\status");
    figures.privateMb = static_cast<double>(StatusField(status, "RssAnon:")) / 1024.0;
    if (measure) {
      const Activity before = ActivityOf(unixPid);
      Sleep(10000);
      const Activity after = ActivityOf(unixPid);
      figures.idleTicks = static_cast<double>(after.ticks - before.ticks);
      figures.idleWakes = static_cast<double>(after.wakes - before.wakes);
    }
  } else {
    std::fprintf(stderr, "bench: no Linux process found for %s\n", program.c_str());
  }

  // Page switches through the input queue: from each page to the next, round twice.
  Search search{&tabs, nullptr};
  EnumChildWindows(main, FindTarget, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    std::fprintf(stderr, "bench: no page strip (%s) in %s\n", tabs.className, program.c_str());
  } else {
    SetForegroundWindow(main);
    Sleep(200);
    for (int round = 0; round < 2; ++round) {
      for (int page : {6, 1, 2, 3, 4, 5}) {
        const long long before = Now();
        Click(search.found, tabs.firstX + (page - 1) * tabs.step, tabs.y);
        long long done = 0;
        WaitFor(
            [&] {
              const std::vector<Mark> marks = ReadMarks(marksPath);
              const Mark* input = FirstAfter(marks, "input", before);
              const Mark* idle = input ? FirstAfter(marks, "idle", input->start) : nullptr;
              if (idle) done = idle->start;
              return idle != nullptr;
            },
            5000);
        if (done) figures.switches.push_back(Milliseconds(done - before));
        Sleep(300);
      }
    }
  }
  for (const Mark& mark : ReadMarks(marksPath)) {
    if (mark.name == "compose") figures.composes.push_back(Milliseconds(mark.end - mark.start));
    if (mark.name == "button-paint") figures.buttonPaints.push_back(Milliseconds(mark.end - mark.start));
  }
  finish();
  return figures;
}

// ---- report ----------------------------------------------------------------------------------

struct Spread {
  double min = 0, median = 0;
  std::size_t count = 0;
};

Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.size()};
}

void Row(const char* figure, const char* unit, const Spread& board, const Spread* plain, const std::string& goal,
         std::optional<bool> met) {
  char plainText[48] = "-";
  char ratio[16] = "-";
  if (plain) {
    std::snprintf(plainText, sizeof plainText, "%.1f / %.1f", plain->min, plain->median);
    if (plain->median > 0) std::snprintf(ratio, sizeof ratio, "%.2f", board.median / plain->median);
  }
  char boardText[48];
  std::snprintf(boardText, sizeof boardText, "%.1f / %.1f", board.min, board.median);
  std::printf("%-34s %-5s %-18s %-18s %-7s %-26s %s\n", figure, unit, boardText, plainText, ratio, goal.c_str(),
              !met ? "" : (*met ? "met" : "NOT MET"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: sb_bench <board.exe> <plain.exe> [runs]\n");
    return 2;
  }
  const std::string board = argv[1], plain = argv[2];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string boardMarks = std::string(temp) + "sb_bench_board.txt";
  const std::string plainMarks = std::string(temp) + "sb_bench_plain.txt";
  // The board's category strip: tabs 70 wide with 3-pixel gaps after a 2-pixel margin; the plain
  // program's tab control: fixed 70-pixel tabs.
  const Target boardTabs{"SbPaintedUnit", "按钮组", 2 + 35, 73, 12};
  const Target plainTabs{"SysTabControl32", nullptr, 2 + 35, 70, 11};

  // A first start of each warms the file cache and lets the board make its first-start files.
  RunOnce(board, boardTabs, boardMarks, false);
  RunOnce(plain, plainTabs, plainMarks, false);

  std::vector<Figures> boards, plains;
  for (int run = 0; run < runs; ++run) {
    std::fprintf(stderr, "bench: run %d of %d\n", run + 1, runs);
    if (auto figures = RunOnce(board, boardTabs, boardMarks, true)) boards.push_back(*figures);
    if (auto figures = RunOnce(plain, plainTabs, plainMarks, true)) plains.push_back(*figures);
  }
  if (boards.empty() || plains.empty()) {
    std::fprintf(stderr, "bench: no complete run\n");
    return 1;
  }
  auto collect = [](const std::vector<Figures>& all, auto field) {
    std::vector<double> values;
    for (const Figures& figures : all) {
      for (double value : field(figures)) values.push_back(value);
    }
    return SpreadOf(values);
  };
  auto one = [](double Figures::*member) {
    return [member](const Figures& figures) { return std::vector<double>{figures.*member}; };
  };

  std::printf("\n%d runs each, board and plain program alternating; figures are min / median\n\n", runs);
  std::printf("%-34s %-5s %-18s %-18s %-7s %-26s %s\n", "figure", "unit", "board", "plain", "ratio", "goal", "");
  const Spread startBoard = collect(boards, one(&Figures::startup)), startPlain = collect(plains, one(&Figures::startup));
  Row("start-up to visible and idle", "ms", startBoard, &startPlain, "<= 1.5 x plain",
      startBoard.median <= 1.5 * startPlain.median);
  const Spread ticksBoard = collect(boards, one(&Figures::idleTicks)), ticksPlain = collect(plains, one(&Figures::idleTicks));
  Row("CPU while idle, 10 s", "ticks", ticksBoard, &ticksPlain, "0, as plain", ticksBoard.median <= ticksPlain.median);
  const Spread wakesBoard = collect(boards, one(&Figures::idleWakes)), wakesPlain = collect(plains, one(&Figures::idleWakes));
  Row("wake-ups while idle, 10 s", "", wakesBoard, &wakesPlain, "(context switches)", std::nullopt);
  const Spread wsBoard = collect(boards, one(&Figures::workingSetMb)), wsPlain = collect(plains, one(&Figures::workingSetMb));
  Row("working set", "MB", wsBoard, &wsPlain, "<= plain + 15 MB", wsBoard.median <= wsPlain.median + 15);
  const Spread privBoard = collect(boards, one(&Figures::privateMb)), privPlain = collect(plains, one(&Figures::privateMb));
  Row("private bytes (anonymous resident)", "MB", privBoard, &privPlain, "", std::nullopt);
  const Spread switchBoard = collect(boards, [](const Figures& f) { return f.switches; });
  const Spread switchPlain = collect(plains, [](const Figures& f) { return f.switches; });
  Row("switch a category page", "ms", switchBoard, &switchPlain, "<= 1.5 x plain",
      switchBoard.count > 0 && switchBoard.median <= 1.5 * switchPlain.median);
  const Spread compose = collect(boards, [](const Figures& f) { return f.composes; });
  Row("compose the window background", "ms", compose, nullptr, "<= 16 ms", compose.count > 0 && compose.median <= 16);
  const Spread paints = collect(boards, [](const Figures& f) { return f.buttonPaints; });
  Row("one button paint", "ms", paints, nullptr, "<= 1 ms", paints.count > 0 && paints.median <= 1);
  std::printf("(%zu page switches, %zu composes, %zu button paints measured on the board)\n", switchBoard.count,
              compose.count, paints.count);

  std::printf("\nboard start-up, from process creation (median over runs; ms):\n");
  std::printf("  %-14s %9s %9s %6s\n", "step", "from", "takes", "count");
  std::vector<std::pair<double, std::string>> order;
  std::map<std::string, std::pair<Spread, Spread>> steps;
  std::map<std::string, std::size_t> counts;
  for (const auto& [name, unused] : boards.front().breakdown) {
    std::vector<double> from, length;
    std::size_t count = 0;
    for (const Figures& figures : boards) {
      auto found = figures.breakdown.find(name);
      if (found == figures.breakdown.end()) continue;
      double sum = 0;
      for (const auto& [at, takes] : found->second) sum += takes;
      from.push_back(found->second.front().first);
      length.push_back(sum);
      count = found->second.size();
    }
    steps[name] = {SpreadOf(from), SpreadOf(length)};
    counts[name] = count;
    order.push_back({steps[name].first.median, name});
  }
  std::sort(order.begin(), order.end());
  for (const auto& [at, name] : order) {
    std::printf("  %-14s %9.1f %9.1f %6zu\n", name.c_str(), at, steps[name].second.median, counts[name]);
  }
  std::printf("  %-14s %9.1f\n", "visible+idle", startBoard.median);
  return 0;
}
