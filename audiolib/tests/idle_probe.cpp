#include "idle_probe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "bass_api.h"

namespace audiolib::bench {
namespace {

double seconds_of(FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; }

std::string read_text(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Under Wine a Windows process is a Linux process, and the Linux side is drive Z:.
long unix_pid_of_self() {
    std::string stat = read_text("Z:\\proc\\self\\stat");
    return stat.empty() ? 0 : std::atol(stat.c_str());
}

// Context switches of every thread of the process: each is one wake-up after a wait (or a preemption).
long long context_switches(long unix_pid) {
    if (unix_pid <= 0) return -1;
    std::string dir = "Z:\\proc\\" + std::to_string(unix_pid) + "\\task\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    long long total = 0;
    do {
        if (found.cFileName[0] == '.') continue;
        std::istringstream status(read_text(dir + found.cFileName + "\\status"));
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                total += std::atoll(line.c_str() + line.find(':') + 1);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

double process_cpu(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return seconds_of(kernel) + seconds_of(user);
}

struct HandleCloser {
    HANDLE handle = nullptr;
    ~HandleCloser() {
        if (handle) CloseHandle(handle);
    }
};

} // namespace

IdleCost measure_child(const std::string& mode, double seconds) {
    IdleCost cost;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HandleCloser to_child_read, to_child_write, from_child_read, from_child_write;
    if (!CreatePipe(&to_child_read.handle, &to_child_write.handle, &inherit, 0) ||
        !CreatePipe(&from_child_read.handle, &from_child_write.handle, &inherit, 0))
        return cost;
    SetHandleInformation(to_child_write.handle, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(from_child_read.handle, HANDLE_FLAG_INHERIT, 0);
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = std::string("\"") + program + "\" --child " + mode;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = to_child_read.handle;
    startup.hStdOutput = from_child_write.handle;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) return cost;
    HandleCloser process{child.hProcess}, thread{child.hThread};
    CloseHandle(to_child_read.handle), to_child_read.handle = nullptr;
    CloseHandle(from_child_write.handle), from_child_write.handle = nullptr;

    // The child says "ready <unix pid>" once its device is open and its stream plays.
    std::string line;
    char c;
    DWORD got = 0;
    while (ReadFile(from_child_read.handle, &c, 1, &got, nullptr) && got == 1 && c != '\n') line += c;
    long unix_pid = 0;
    if (std::sscanf(line.c_str(), "ready %ld", &unix_pid) == 1) {
        Sleep(1000); // past the tail of whatever opening the device played
        double cpu0 = process_cpu(child.hProcess);
        long long switches0 = context_switches(unix_pid);
        LARGE_INTEGER frequency, t0, t1;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&t0);
        Sleep(static_cast<DWORD>(seconds * 1000));
        double cpu1 = process_cpu(child.hProcess);
        long long switches1 = context_switches(unix_pid);
        QueryPerformanceCounter(&t1);
        double wall = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(frequency.QuadPart);
        cost.ok = true;
        cost.cpu_percent = 100.0 * (cpu1 - cpu0) / wall;
        if (switches0 >= 0 && switches1 >= 0) cost.wakeups_per_second = static_cast<double>(switches1 - switches0) / wall;
    }
    // Closing its input ends the child.
    CloseHandle(to_child_write.handle), to_child_write.handle = nullptr;
    if (WaitForSingleObject(child.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    return cost;
}

int run_child(const std::string& mode, const char* stream_file) {
    if (mode != "bare") {
        if (!BASS_Init(1, 44100, 0, nullptr, nullptr)) return 2;
        if (mode == "playing") {
            BassHandle stream = BASS_StreamCreateFile(FALSE, stream_file, 0, 0, 0);
            if (!stream || !BASS_ChannelSetAttribute(stream, bass_attrib_vol, 0.0f) || !BASS_ChannelPlay(stream, FALSE)) return 3;
        }
    }
    std::printf("ready %ld\n", unix_pid_of_self());
    std::fflush(stdout);
    // Waits in a blocking read, which wakes nothing, until the parent closes the pipe.
    char c;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1) {
    }
    if (mode != "bare") BASS_Free();
    return 0;
}

} // namespace audiolib::bench
