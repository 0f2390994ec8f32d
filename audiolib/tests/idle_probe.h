#pragma once
// What a process costs while it waits, seen from another process: its CPU time and how often
// its threads were woken. The probed process is this program started again with --child MODE:
//   bare     does nothing (the baseline: what any process costs here)
//   idle     opens device 1 through bass.dll and plays nothing
//   playing  opens device 1 and plays one stream at volume 0 (an output that runs)

#include <string>

namespace audiolib::bench {

struct IdleCost {
    bool ok = false;
    double cpu_percent = 0;      // of one core
    double wakeups_per_second = -1; // -1 where the system does not tell (only Wine's /proc does)
};

// Starts the child, lets it settle, measures for seconds, ends it.
IdleCost measure_child(const std::string& mode, double seconds);

// The child's side; returns the process exit code.
int run_child(const std::string& mode, const char* stream_file);

} // namespace audiolib::bench
