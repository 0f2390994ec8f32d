#include "runtime/values/number_commands.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

#include "runtime/values/error_report.h"

namespace runtime {
namespace {

// The classic 15-bit linear congruential generator: 0..32767 per draw.
std::uint32_t generator_state = 1;
std::uint32_t randomize_counter = 0;

std::int32_t NextRandom() {
  generator_state = generator_state * 214013u + 2531011u;
  return static_cast<std::int32_t>((generator_state >> 16) & 0x7FFF);
}

// Milliseconds, wrapping like a 32-bit tick count.
std::uint32_t TickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::int32_t SaturateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

double Remainder(double a, double b, std::initializer_list<double> further) {
  auto reduce = [&a](double divisor) {
    if (divisor == 0) ReportError(0, "不能求余数于零");
    a = std::fmod(a, divisor);
  };
  reduce(b);
  for (double divisor : further) reduce(divisor);
  return a;
}

double IntegerDivide(double a, double b, std::initializer_list<double> further) {
  auto divide = [&a](double divisor) {
    if (divisor == 0) ReportError(0, "不能整除于零");
    a = std::trunc(a / divisor);
  };
  divide(b);
  for (double divisor : further) divide(divisor);
  return a;
}

std::int32_t BitAnd(std::initializer_list<std::int32_t> values) {
  if (values.size() == 0) return 0;
  std::int32_t result = ~0;
  for (std::int32_t value : values) result &= value;
  return result;
}

std::int32_t BitOr(std::initializer_list<std::int32_t> values) {
  std::int32_t result = 0;
  for (std::int32_t value : values) result |= value;
  return result;
}

std::int32_t BitNot(std::int32_t value) { return ~value; }

std::int32_t ShiftRight(std::int32_t value, std::int32_t n) { return value >> (n & 31); }

double Absolute(double value) { return value >= 0 ? value : -value; }

std::int32_t IntegerPart(double value) {
  double whole;
  const double fraction = std::modf(value, &whole);
  // 2.9999999999995 is 3 that lost its last digits on the way, not 2.
  if (std::fabs(fraction) > 0.999999999999) value = value > 0 ? whole + 1 : whole - 1;
  return SaturateToInt32(std::floor(value));
}

std::int32_t MakeWord(std::int32_t low, std::int32_t high) {
  return ((high & 0xFF) << 8) | (low & 0xFF);
}

std::int32_t MakeColour(std::int32_t red, std::int32_t green, std::int32_t blue) {
  // Unsigned so that out-of-range channels wrap instead of overflowing.
  const std::uint32_t colour = static_cast<std::uint32_t>(red) +
                               (static_cast<std::uint32_t>(green) & 0xFF) * 256u +
                               static_cast<std::uint32_t>(blue) * 65536u;
  return static_cast<std::int32_t>(colour);
}

double Sine(double radians) { return std::sin(radians); }
double Cosine(double radians) { return std::cos(radians); }

void Randomize(std::optional<std::int32_t> seed) {
  if (seed) {
    generator_state = static_cast<std::uint32_t>(*seed);
    return;
  }
  const std::uint32_t tick = TickCount();
  generator_state = tick + randomize_counter;
  randomize_counter += (tick + randomize_counter) % 256 + 100;
}

std::int32_t RandomInteger(std::optional<std::int32_t> lowest, std::optional<std::int32_t> highest) {
  std::int32_t low = std::max(lowest.value_or(0), 0);
  std::int32_t high = std::max(highest.value_or(std::numeric_limits<std::int32_t>::max()), 0);
  if (low > high) std::swap(low, high);
  if (low == high) return low;
  std::uint32_t span = static_cast<std::uint32_t>(high - low);
  if (span == 2147483647u) span = 2147483646u;
  const std::uint64_t choices = static_cast<std::uint64_t>(span) + 1;
  // One 15-bit draw covers spans up to 32768 values; wider spans take three draws so that
  // every value of the span can come up.
  std::uint64_t draw = static_cast<std::uint64_t>(NextRandom());
  if (choices > 32768) {
    draw = (draw << 30) | (static_cast<std::uint64_t>(NextRandom()) << 15) |
           static_cast<std::uint64_t>(NextRandom());
  }
  return low + static_cast<std::int32_t>(draw % choices);
}

}  // namespace runtime
