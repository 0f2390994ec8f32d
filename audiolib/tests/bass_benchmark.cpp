// Prints what the library costs on the real output: start latency, the idle process seen from
// outside, CPU for one and eight streams, stream creation from a 3-minute MP3, memory per
// stream. Figures only, no verdict; each figure comes with its baseline from the same run.
//   tools/wine/with-session sh -c 'cd build/win64/audiolib && wine ./bass_benchmark.exe'
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "capture.h"
#include "converter.h"
#include "decoder.h"
#include "idle_probe.h"
#include "library.h"
#include "test_support.h"
#include "wasapi_output.h"

namespace {

using namespace audiolib;
using clock_type = std::chrono::steady_clock;

std::atomic<int64_t> first_sound_ns{0};
std::atomic<int64_t> render_calls{0}, render_frames{0};
std::atomic<DWORD> render_thread{0};
std::atomic<long> device_rate{0};
Output* opened_output = nullptr; // the library's output, for the period it obtained

// Passes everything to WASAPI and notes when the first non-silent block goes to the device.
class WatchingBackend final : public Backend {
public:
    std::vector<Endpoint> endpoints() override { return inner_->endpoints(); }
    std::unique_ptr<Output> open(size_t index, long frequency, RenderCallback render) override {
        auto output = inner_->open(index, frequency, [render](float* out, size_t frames, int channels) {
            bool playing = render(out, frames, channels);
            ++render_calls;
            render_thread = GetCurrentThreadId();
            render_frames += static_cast<int64_t>(frames);
            if (first_sound_ns.load() != 0) return playing;
            for (size_t i = 0; i < frames * static_cast<size_t>(channels); ++i)
                if (out[i] != 0.0f) {
                    first_sound_ns = clock_type::now().time_since_epoch().count();
                    break;
                }
            return playing;
        });
        if (output) device_rate = output->format().rate;
        opened_output = output.get();
        return output;
    }
    std::string local_text(const std::string& utf8) const override { return inner_->local_text(utf8); }

private:
    std::unique_ptr<Backend> inner_ = make_wasapi_backend();
};

double seconds(FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7; }

double process_cpu_seconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return seconds(kernel) + seconds(user);
}

// The library's own output thread (where decoding, conversion and mixing run).
double output_thread_cpu_seconds() {
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, render_thread.load());
    if (!thread) return 0;
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    CloseHandle(thread);
    return seconds(kernel) + seconds(user);
}

// Bytes in use on every heap of the process (the C runtime's malloc and operator new end up there).
size_t heap_bytes() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t used = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return used;
}

uint32_t open_stream(Library& library, const char* name) {
    return library.create_stream(open_file_source(name, 0, 0));
}

constexpr int gap_block = 480;
struct GapCount {
    long long blocks = 0, bad_blocks = 0, captured = 0, expected = 0, first_bad = -1;
};

// Lines the capture up with the decoded file at the first frames and compares the first channel
// in blocks: a dropped or repeated block moves everything after it, so every later block differs.
GapCount count_gaps(const char* file, const test::Capture& capture) {
    GapCount count;
    auto decoder = open_decoder(open_file_source(file, 0, 0));
    if (!decoder || capture.rate == 0) return count;
    Converter converter(*decoder, capture.rate, capture.channels);
    std::vector<float> reference(static_cast<size_t>(decoder->length() + capture.rate) * static_cast<size_t>(capture.channels));
    size_t frames = converter.render(reference.data(), reference.size() / static_cast<size_t>(capture.channels));
    std::vector<float> expected = test::channel_of({reference.begin(), reference.begin() + static_cast<long>(frames) * capture.channels},
                                                   capture.channels, 0);
    std::vector<float> got = test::channel_of(capture.frames, capture.channels, 0);
    count.expected = static_cast<long long>(expected.size());
    size_t start = 0;
    while (start < got.size() && got[start] == 0.0f) ++start;
    for (size_t block = 0; block * gap_block < expected.size(); ++block) {
        ++count.blocks;
        for (size_t i = block * gap_block; i < std::min(expected.size(), (block + 1) * gap_block); ++i)
            if (start + i >= got.size() || std::abs(got[start + i] - expected[i]) > 1e-6f) {
                if (count.bad_blocks++ == 0) count.first_bad = static_cast<long long>(block);
                break;
            }
    }
    count.captured = static_cast<long long>(got.size() - std::min(got.size(), start));
    return count;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") return bench::run_child(argv[2], "fixtures/three_minutes.mp3");
    Library library(std::make_unique<WatchingBackend>());
    if (!library.init(1, 44100)) {
        std::printf("cannot open device 1\n");
        return 1;
    }
    const char* tone = "fixtures/s16_48000_long.wav";
    const char* mp3 = "fixtures/three_minutes.mp3";
    const char* noise = "fixtures/noise_48000_60s.wav";

    // One stream at volume 0 keeps the output running without a sound: a WAV at the device's own
    // rate, so it costs next to nothing to decode and nothing to resample.
    const uint32_t keep_running = open_stream(library, noise);
    library.stream(keep_running)->set_volume(0.0f);
    library.stream(keep_running)->play(false);
    {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        int64_t calls = render_calls, frames = render_frames;
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const long period = opened_output ? opened_output->period_frames() : 0;
        std::printf("device at %ld Hz, period obtained %ld frames (%.2f ms); it asks %lld times a second, %lld frames each\n",
                    device_rate.load(), period, 1000.0 * static_cast<double>(period) / static_cast<double>(device_rate.load()),
                    static_cast<long long>(render_calls - calls),
                    static_cast<long long>((render_frames - frames) / std::max<int64_t>(1, render_calls - calls)));
    }
    library.stream(keep_running)->stop();
    // (a) Play to the first non-silent sample handed to the device, from an output that runs
    // (the silent stream plays) and from one that went idle (nothing played for 300 ms).
    for (bool running : {true, false}) {
        if (running) library.stream(keep_running)->play(true);
        std::vector<double> latencies;
        for (int run = 0; run < 50; ++run) {
            uint32_t handle = open_stream(library, tone);
            auto stream = library.stream(handle);
            std::this_thread::sleep_for(std::chrono::milliseconds(running ? 50 : 300));
            first_sound_ns = 0;
            auto start = clock_type::now();
            stream->play(true);
            while (first_sound_ns.load() == 0 && clock_type::now() - start < std::chrono::seconds(1))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            latencies.push_back(static_cast<double>(first_sound_ns.load() - start.time_since_epoch().count()) / 1e6);
            library.free_stream(handle);
        }
        library.stream(keep_running)->stop();
        std::printf("(a) play to first sound at the device, %s output, %zu plays: median %.2f ms, max %.2f ms\n",
                    running ? "running" : "idle", latencies.size(), median(latencies),
                    *std::max_element(latencies.begin(), latencies.end()));
    }

    // (e) The idle process from outside: device open, nothing playing, against a process that
    // does nothing and one whose output runs.
    for (const char* mode : {"bare", "idle", "playing"}) {
        bench::IdleCost cost = bench::measure_child(mode, 5.0);
        if (!cost.ok) {
            std::printf("(e) %s child: could not be measured\n", mode);
            continue;
        }
        std::printf("(e) process %-7s over 5 s, seen from outside: CPU %.2f %% of one core, %.1f wake-ups/s\n", mode,
                    cost.cpu_percent, cost.wakeups_per_second);
    }

    // (b) CPU of the whole process while streams play; the main thread only sleeps. The first
    // line is the output running with nothing to decode but the silent WAV, the cost of the
    // running output itself (our thread and the system's audio thread).
    double running_process = 0, running_thread = 0; // the 0-stream line, the baseline of the per-stream figures
    for (int count : {0, 1, 8}) {
        std::vector<uint32_t> handles;
        if (count == 0) library.stream(keep_running)->play(true);
        for (int i = 0; i < count; ++i) {
            handles.push_back(open_stream(library, mp3));
            library.stream(handles.back())->set_volume(1.0f / static_cast<float>(count));
            library.stream(handles.back())->play(false);
        }
        double cpu_before = process_cpu_seconds(), ours_before = output_thread_cpu_seconds();
        int64_t frames_before = render_frames;
        auto wall_before = clock_type::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        double cpu = process_cpu_seconds() - cpu_before, ours = output_thread_cpu_seconds() - ours_before;
        double wall = std::chrono::duration<double>(clock_type::now() - wall_before).count();
        // Per second of audio handed to the device, which under Wine's null sink is not the wall clock.
        double audio = static_cast<double>(render_frames - frames_before) / static_cast<double>(device_rate.load());
        std::printf("(b) %d MP3 stream%s: per second of audio, process %.2f %% of one core, the library's output thread %.2f %%"
                    " (%.3f s and %.3f s CPU for %.2f s of audio in %.2f s)\n",
                    count, count != 1 ? "s" : "", 100.0 * cpu / audio, 100.0 * ours / audio, cpu, ours, audio, wall);
        if (count == 0) {
            running_process = 100.0 * cpu / audio;
            running_thread = 100.0 * ours / audio;
        } else {
            std::printf("(b) each of %d MP3 stream%s beyond the running output: process %.2f %%, output thread %.2f %% of one core\n",
                        count, count != 1 ? "s" : "", (100.0 * cpu / audio - running_process) / count,
                        (100.0 * ours / audio - running_thread) / count);
        }
        for (uint32_t handle : handles) library.free_stream(handle);
        library.stream(keep_running)->stop();
    }
    library.free_stream(keep_running);

    // (f) A minute of noise played while this (the caller's) thread is kept busy: what reached the
    // device, block by block, against the file decoded and converted to the device's format.
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // idle: the next opening starts the capture anew
        uint32_t handle = open_stream(library, noise);
        auto stream = library.stream(handle);
        stream->play(false);
        volatile double busy = 0;
        while (stream->state() == ChannelState::playing)
            for (int i = 0; i < 100000; ++i) busy = busy + 1e-9 * i;
        library.free_stream(handle);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        GapCount gaps = count_gaps(noise, test::read_capture(test::capture_path("SOUNDBOARD_CAPTURE")));
        std::printf("(f) 60 s stream, main thread busy: %lld of %lld blocks of %d frames differ from the decoded file,"
                    " the first is block %lld, -1 for none (%lld frames captured of %lld)\n",
                    gaps.bad_blocks, gaps.blocks, gap_block, gaps.first_bad,
                    gaps.captured, gaps.expected);
    }

    // (c) Creating a stream from a 3-minute MP3.
    std::vector<double> creations;
    for (int run = 0; run < 10; ++run) {
        auto start = clock_type::now();
        uint32_t handle = open_stream(library, mp3);
        creations.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
        library.free_stream(handle);
    }
    std::printf("(c) stream from a 3-minute MP3: median %.2f ms, max %.2f ms\n", median(creations),
                *std::max_element(creations.begin(), creations.end()));

    // (d) Heap memory per open stream, MP3 and WAV.
    for (const char* name : {mp3, tone}) {
        std::vector<uint32_t> handles;
        size_t before = heap_bytes();
        for (int i = 0; i < 20; ++i) handles.push_back(open_stream(library, name));
        size_t after = heap_bytes();
        std::printf("(d) memory per open stream (%s): %.1f KiB\n", name, static_cast<double>(after - before) / 20.0 / 1024.0);
        for (uint32_t handle : handles) library.free_stream(handle);
    }
    library.free();
    return 0;
}
