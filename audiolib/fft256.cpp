#include "fft256.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace audiolib {

std::array<float, spectrum_bins> spectrum_256(const std::array<float, spectrum_points>& samples) {
    constexpr int n = spectrum_points;
    std::array<std::complex<double>, n> x;
    for (int i = 0; i < n; ++i) {
        double window = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / n);
        // Bit-reversed order, so the butterflies below work in place.
        int j = 0;
        for (int bit = 0, v = i; bit < 8; ++bit, v >>= 1) j = (j << 1) | (v & 1);
        x[static_cast<size_t>(j)] = samples[static_cast<size_t>(i)] * window;
    }
    for (int size = 2; size <= n; size <<= 1) {
        std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / size);
        for (int start = 0; start < n; start += size) {
            std::complex<double> w = 1.0;
            for (int k = 0; k < size / 2; ++k) {
                auto& a = x[static_cast<size_t>(start + k)];
                auto& b = x[static_cast<size_t>(start + k + size / 2)];
                std::complex<double> t = w * b;
                b = a - t;
                a += t;
                w *= step;
            }
        }
    }
    std::array<float, spectrum_bins> bins {};
    // The Hann window's coherent gain is 1/2, a real sine splits over two halves: scale by 4/n.
    for (int k = 0; k < spectrum_bins; ++k) bins[static_cast<size_t>(k)] = static_cast<float>(std::abs(x[static_cast<size_t>(k)]) * 4.0 / n);
    return bins;
}

} // namespace audiolib
