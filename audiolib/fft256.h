#pragma once
// Magnitudes of a 256-point FFT over a Hann window; a full-scale sine reads about 1.0 in its bin.

#include <array>

namespace audiolib {

constexpr int spectrum_points = 256;
constexpr int spectrum_bins = spectrum_points / 2;

std::array<float, spectrum_bins> spectrum_256(const std::array<float, spectrum_points>& samples);

} // namespace audiolib
