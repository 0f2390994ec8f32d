#include "test_support.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace audiolib::test {

std::string fixture(const std::string& name) {
#ifdef SB_FIXTURES_DIR
    return std::string(SB_FIXTURES_DIR) + "/" + name;
#else
    return "fixtures/" + name;
#endif
}

std::vector<unsigned char> read_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<float> channel_of(const std::vector<float>& frames, int channels, int channel) {
    std::vector<float> out;
    for (size_t i = static_cast<size_t>(channel); i < frames.size(); i += static_cast<size_t>(channels)) out.push_back(frames[i]);
    return out;
}

double rms(const std::vector<float>& samples) {
    if (samples.empty()) return 0.0;
    double sum = 0.0;
    for (float s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

namespace {
// Power of the best-fitting sine at frequency, with its two quadrature amplitudes.
double fit(const std::vector<float>& samples, double rate, double frequency, double& a, double& b) {
    double c = 0, s = 0;
    const double w = 2.0 * std::numbers::pi * frequency / rate;
    for (size_t i = 0; i < samples.size(); ++i) {
        c += samples[i] * std::cos(w * static_cast<double>(i));
        s += samples[i] * std::sin(w * static_cast<double>(i));
    }
    a = 2.0 * c / static_cast<double>(samples.size());
    b = 2.0 * s / static_cast<double>(samples.size());
    return a * a + b * b;
}
} // namespace

double dominant_frequency(const std::vector<float>& samples, double rate) {
    // Goertzel over at most 8192 samples: a scan of the whole grid stays cheap under Wine too.
    const size_t n = samples.size() < 8192 ? samples.size() : 8192;
    double best = 0, best_power = -1;
    for (double f = 50; f < rate / 2; f += 10) {
        const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * f / rate);
        double s1 = 0, s2 = 0;
        for (size_t i = 0; i < n; ++i) {
            double s0 = samples[i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        if (power > best_power) best_power = power, best = f;
    }
    return best;
}

double residual_after_sine(const std::vector<float>& samples, double rate, double frequency) {
    double a, b;
    fit(samples, rate, frequency, a, b);
    const double w = 2.0 * std::numbers::pi * frequency / rate;
    double total = 0, left = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        double model = a * std::cos(w * static_cast<double>(i)) + b * std::sin(w * static_cast<double>(i));
        total += static_cast<double>(samples[i]) * samples[i];
        left += (samples[i] - model) * (samples[i] - model);
    }
    return total > 0 ? left / total : 1.0;
}

} // namespace audiolib::test
