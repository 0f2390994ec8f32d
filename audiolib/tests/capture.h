#pragma once
// What reached the sound device under Wine: the WAV file ALSA's file plugin writes.

#include <string>
#include <vector>

namespace audiolib::test {

struct Capture {
    long rate = 0;
    int channels = 0;
    std::vector<float> frames; // interleaved
};

// The capture file named by an environment variable (a Unix path), as a Windows path.
std::string capture_path(const char* variable);
// The header may be unfinished; the data is read from byte 44 to the end of the file.
Capture read_capture(const std::string& path);

// The first channel from the first to the last sample louder than threshold.
std::vector<float> sounding_part(const Capture& capture, float threshold);

} // namespace audiolib::test
