#include "capture.h"

#include <windows.h>

#include <cmath>
#include <cstring>

#include "test_support.h"

namespace audiolib::test {

std::string capture_path(const char* variable) {
    char value[MAX_PATH] = {};
    DWORD size = GetEnvironmentVariableA(variable, value, MAX_PATH);
    if (size == 0 || size >= MAX_PATH) return {};
    std::string path = std::string("Z:") + value;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Capture read_capture(const std::string& path) {
    Capture capture;
    std::vector<unsigned char> bytes = read_bytes(path);
    if (bytes.size() < 44) return capture;
    unsigned tag = bytes[20] | bytes[21] << 8;
    capture.channels = bytes[22] | bytes[23] << 8;
    capture.rate = static_cast<long>(bytes[24] | bytes[25] << 8 | bytes[26] << 16 | static_cast<unsigned>(bytes[27]) << 24);
    unsigned bits = bytes[34] | bytes[35] << 8;
    const unsigned char* data = bytes.data() + 44;
    size_t size = bytes.size() - 44;
    // ALSA's file plugin labels float data as integer PCM; 32-bit data that reads as floats in
    // [-1, 1] throughout is float (integer samples almost never do).
    bool floats = tag == 3 && bits == 32;
    if (tag == 1 && bits == 32) {
        floats = true;
        for (size_t i = 0; floats && i + 3 < size; i += 4) {
            float v;
            std::memcpy(&v, data + i, 4);
            floats = std::isfinite(v) && std::fabs(v) <= 1.0f;
        }
    }
    if (floats) {
        capture.frames.resize(size / 4);
        std::memcpy(capture.frames.data(), data, capture.frames.size() * 4);
    } else if (tag == 1 && bits == 16) {
        for (size_t i = 0; i + 1 < size; i += 2)
            capture.frames.push_back(static_cast<int16_t>(data[i] | data[i + 1] << 8) / 32768.0f);
    } else if (tag == 1 && bits == 32) {
        for (size_t i = 0; i + 3 < size; i += 4) {
            int32_t v;
            std::memcpy(&v, data + i, 4);
            capture.frames.push_back(static_cast<float>(v / 2147483648.0));
        }
    }
    capture.frames.resize(capture.frames.size() - capture.frames.size() % static_cast<size_t>(capture.channels ? capture.channels : 1));
    return capture;
}

std::vector<float> sounding_part(const Capture& capture, float threshold) {
    std::vector<float> first = channel_of(capture.frames, capture.channels, 0);
    size_t begin = 0, end = first.size();
    while (begin < end && std::fabs(first[begin]) <= threshold) ++begin;
    while (end > begin && std::fabs(first[end - 1]) <= threshold) --end;
    return {first.begin() + static_cast<long>(begin), first.begin() + static_cast<long>(end)};
}

} // namespace audiolib::test
