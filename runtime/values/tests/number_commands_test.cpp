#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <vector>

#include "runtime/values/number_commands.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::FatalMessage;
using testing::TextReport;

TEST(NumberCommandsTest, RemainderKeepsTheDividendsSignAndChains) {
  EXPECT_EQ(Remainder(7, 3), 1);
  EXPECT_EQ(Remainder(-7, 3), -1);
  EXPECT_EQ(Remainder(7, -3), 1);
  EXPECT_EQ(Remainder(5.5, 2), 1.5);
  EXPECT_EQ(Remainder(10, 4, {3}), 2);   // (10 mod 4) mod 3
  EXPECT_EQ(Remainder(29, 10, {4, 5}), 1);  // 9 mod 4 = 1, 1 mod 5 = 1
}

TEST(NumberCommandsTest, IntegerDivideTruncatesAfterEachStep) {
  EXPECT_EQ(IntegerDivide(7, 2), 3);
  EXPECT_EQ(IntegerDivide(-7, 2), -3);
  EXPECT_EQ(IntegerDivide(9, 2, {0.5}), 8);  // 4.5 is cut to 4 before the next step; uncut it would give 9
}

TEST(NumberCommandsTest, DivisionByZeroIsFatal) {
  EXPECT_EQ(FatalMessage([] { Remainder(1, 0); }), TextReport("不能求余数于零"));
  EXPECT_EQ(FatalMessage([] { Remainder(1, 2, {0}); }), TextReport("不能求余数于零"));
  EXPECT_EQ(FatalMessage([] { IntegerDivide(1, 0); }), TextReport("不能整除于零"));
  EXPECT_EQ(FatalMessage([] { IntegerDivide(8, 2, {0}); }), TextReport("不能整除于零"));
}

TEST(NumberCommandsTest, BitOperations) {
  EXPECT_EQ(BitAnd({-6}), -6);
  EXPECT_EQ(BitAnd({0x0F, 0x3C}), 0x0C);
  EXPECT_EQ(BitAnd({0xFF, 0x3C, 0x18}), 0x18);
  EXPECT_EQ(BitOr({1, 2, 8}), 11);
  EXPECT_EQ(BitNot(0), -1);
  EXPECT_EQ(ShiftRight(-8, 1), -4);  // keeps the sign
  EXPECT_EQ(ShiftRight(256, 36), 16);  // 36 mod 32
  EXPECT_EQ(ShiftRight(-1, 31), -1);
  EXPECT_EQ(ShiftRight(1 << 30, -1), 0);  // -1 mod 32 = 31
  EXPECT_EQ(MakeWord(0x1234, 0x5678), 0x7834);
  EXPECT_EQ(MakeColour(0x11, 0x22, 0x33), 0x00332211);
  EXPECT_EQ(MakeColour(0x11, 0x1FF, 0x33), 0x0033FF11);  // green is cut to a byte
}

TEST(NumberCommandsTest, AbsoluteAndTrigonometry) {
  EXPECT_EQ(Absolute(-2.5), 2.5);
  EXPECT_EQ(Absolute(3), 3);
  EXPECT_NEAR(Sine(std::numbers::pi / 2), 1.0, 1e-15);
  EXPECT_NEAR(Cosine(std::numbers::pi), -1.0, 1e-15);
}

TEST(NumberCommandsTest, IntegerPart) {
  struct Case {
    double x;
    std::int32_t expected;
  };
  const Case cases[] = {
      {2.9999999999995, 3},  {-2.5, -3}, {-0.9999999999995, -1}, {2.5, 2},
      {2.999999999, 2},  // the fraction is not close enough to move it
      {-3.0, -3},         {0.0, 0},    {1e12, std::numeric_limits<std::int32_t>::max()},
      {-1e12, std::numeric_limits<std::int32_t>::min()},
  };
  for (const Case& c : cases) EXPECT_EQ(IntegerPart(c.x), c.expected) << c.x;
}

std::vector<std::int32_t> Draws(int n, std::int32_t low, std::int32_t high) {
  std::vector<std::int32_t> values;
  for (int i = 0; i < n; ++i) values.push_back(RandomInteger(low, high));
  return values;
}

TEST(RandomTest, SameSeedSameSequence) {
  Randomize(1234);
  const auto first = Draws(8, 0, 1000);
  Randomize(1234);
  EXPECT_EQ(Draws(8, 0, 1000), first);
  Randomize(1235);
  EXPECT_NE(Draws(8, 0, 1000), first);
}

TEST(RandomTest, UnseededCallsInTheSameMillisecondDiffer) {
  Randomize();
  const auto first = Draws(8, 0, 1000000);
  Randomize();
  EXPECT_NE(Draws(8, 0, 1000000), first);
}

TEST(RandomTest, BoundsAreOrderedAndClampedAtZero) {
  Randomize(7);
  EXPECT_EQ(RandomInteger(5, 5), 5);
  std::set<std::int32_t> seen;
  for (std::int32_t value : Draws(500, 9, 3)) {
    EXPECT_GE(value, 3);
    EXPECT_LE(value, 9);
    seen.insert(value);
  }
  EXPECT_EQ(seen.size(), 7u);
  EXPECT_EQ(RandomInteger(-5, -1), 0);
  for (std::int32_t value : Draws(50, -10, 2)) {
    EXPECT_GE(value, 0);
    EXPECT_LE(value, 2);
  }
  for (int i = 0; i < 50; ++i) EXPECT_GE(RandomInteger(), 0);
}

TEST(RandomTest, WideSpansReachBeyondOneDraw) {
  Randomize(99);
  std::int32_t highest = 0;
  for (std::int32_t value : Draws(200, 0, 1000000)) {
    EXPECT_LE(value, 1000000);
    highest = std::max(highest, value);
  }
  EXPECT_GT(highest, 32767);
}

}  // namespace
}  // namespace runtime
