#pragma once
// What the audio tests measure in a block of samples, and where their sound files are.

#include <cstddef>
#include <string>
#include <vector>

namespace audiolib::test {

// Path of a generated fixture, relative to the test's working directory.
std::string fixture(const std::string& name);
std::vector<unsigned char> read_bytes(const std::string& path);

// One channel of interleaved frames.
std::vector<float> channel_of(const std::vector<float>& frames, int channels, int channel);
double rms(const std::vector<float>& samples);
// The frequency, on a 10 Hz grid from 50 Hz to half the rate, that holds the most energy.
double dominant_frequency(const std::vector<float>& samples, double rate);
// Share of the energy that a sine of this frequency (best amplitude and phase) does not explain.
double residual_after_sine(const std::vector<float>& samples, double rate, double frequency);

} // namespace audiolib::test
