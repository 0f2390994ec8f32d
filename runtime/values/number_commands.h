#pragma once
// Arithmetic, bit and random-number commands.
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace runtime {

// a reduced by b, then by each further divisor (sign of the dividend). Divisor 0 is fatal.
double Remainder(double a, double b, std::initializer_list<double> further = {});
// a divided by b, then by each further divisor, truncated toward zero after each step.
// Divisor 0 is fatal.
double IntegerDivide(double a, double b, std::initializer_list<double> further = {});
// AND / OR of all values; a single value comes back as it is, none gives 0.
std::int32_t BitAnd(std::initializer_list<std::int32_t> values);
std::int32_t BitOr(std::initializer_list<std::int32_t> values);
std::int32_t BitNot(std::int32_t value);
// Arithmetic shift by n modulo 32.
std::int32_t ShiftRight(std::int32_t value, std::int32_t n);
double Absolute(double value);
// Floor, after moving a value within 1e-12 of the next integer away from zero onto it.
std::int32_t IntegerPart(double value);
// (low byte of high) << 8 | low byte of low.
std::int32_t MakeWord(std::int32_t low, std::int32_t high);
// 0x00BBGGRR: red + (green cut to a byte) * 256 + blue * 65536.
std::int32_t MakeColour(std::int32_t red, std::int32_t green, std::int32_t blue);
double Sine(double radians);
double Cosine(double radians);

// Seeds the process's generator; without a seed from the tick count plus a counter that
// moves on every call, so two calls within one millisecond still differ.
void Randomize(std::optional<std::int32_t> seed = std::nullopt);
// A value from lowest to highest inclusive; negative bounds count as 0, swapped ones are
// put in order.
std::int32_t RandomInteger(std::optional<std::int32_t> lowest = std::nullopt,
                           std::optional<std::int32_t> highest = std::nullopt);

}  // namespace runtime
