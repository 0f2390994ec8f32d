#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "runtime/values/array_block.h"
#include "runtime/values/conversion_commands.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::Bytes;

ValueCell TextCell(const char* text) { return ValueCell::Text(text); }

TEST(ConversionTest, HalfWidthText) {
  EXPECT_EQ(HalfWidthText("１２３ＡＢ，－．").view(), "123AB,-.");
  EXPECT_EQ(HalfWidthText("　～☆★").view(), " ~**");
  EXPECT_EQ(HalfWidthText("按钮1").view(), "按钮1");
}

struct IntegerCase {
  ValueCell value;
  std::int32_t expected;
};

TEST(ConversionTest, ToInteger) {
  const IntegerCase cases[] = {
      {ValueCell::Bool(true), 1},
      {ValueCell::Of(tags::Bool, 7), 1},
      {ValueCell::Byte(200), 200},
      {ValueCell::Short(-5), -5},
      {ValueCell::Integer(-123456), -123456},
      {ValueCell::Long(0x100000005), 5},  // the low 32 bits
      {ValueCell::Float(-2.7f), -2},
      {ValueCell::Double(3.99), 3},
      {ValueCell::Double(-3.99), -3},
      {ValueCell::Double(1e20), std::numeric_limits<std::int32_t>::max()},
      {ValueCell::Double(std::nan("")), 0},
      {ValueCell::DateTime(45000.5), 0},
      {ValueCell::Unit({1, 2, 0x0001000B}), 0},
      {TextCell("  -42abc"), -42},
      {TextCell("+7"), 7},
      {TextCell("\t12 3"), 12},
      {TextCell("abc"), 0},
      {TextCell("-"), 0},
      {TextCell(nullptr), 0},
      {TextCell("１２３"), 123},
      {TextCell("－１２元"), -12},
      {TextCell("　４５"), 45},  // the full-width space counts as white space too
      {TextCell("99999999999"), std::numeric_limits<std::int32_t>::max()},
      {TextCell("-99999999999"), std::numeric_limits<std::int32_t>::min()},
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.value.tag << " " << c.value.Bits());
    EXPECT_EQ(ToInteger(c.value), c.expected);
  }
}

struct DoubleCase {
  ValueCell value;
  double expected;
};

TEST(ConversionTest, ToDouble) {
  int routine = 0;
  const DoubleCase cases[] = {
      {ValueCell::Bool(true), 1},
      {ValueCell::Byte(255), 255},
      {ValueCell::Short(-2), -2},
      {ValueCell::Integer(-7), -7},
      {ValueCell::Long(9007199254740993), 9007199254740992.0},  // nearest double
      {ValueCell::Float(0.5f), 0.5},
      {ValueCell::Double(-1.25), -1.25},
      {ValueCell::Subprogram(&routine), static_cast<double>(reinterpret_cast<std::uintptr_t>(&routine))},
      {ValueCell::DateTime(2), 0},
      {TextCell("3.5e2x"), 350},
      {TextCell("  -.5"), -0.5},
      {TextCell("7."), 7},
      {TextCell("1e"), 1},
      {TextCell("2e+"), 2},
      {TextCell("１．５"), 1.5},
      {TextCell("inf"), 0},
      {TextCell("nan"), 0},
      {TextCell("0x10"), 0},
      {TextCell("."), 0},
      {TextCell(nullptr), 0},
      {TextCell("1e999"), std::numeric_limits<double>::infinity()},
  };
  for (const DoubleCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.value.tag << " " << c.value.Bits());
    EXPECT_EQ(ToDouble(c.value), c.expected);
  }
}

struct TextCase {
  ValueCell value;
  std::string expected;
};

TEST(ConversionTest, ToTextOfScalars) {
  const TextCase cases[] = {
      {ValueCell::Byte(255), "255"},
      {ValueCell::Short(-1), "-1"},
      {ValueCell::Integer(-2147483647 - 1), "-2147483648"},
      {ValueCell::Long(-9000000000), "-9000000000"},
      {ValueCell::Float(3.14159274f), "3.14159"},
      {ValueCell::Float(1234567.0f), "1.23457e+06"},
      {ValueCell::Double(1.0 / 3), "0.3333333333333"},
      {ValueCell::Double(0.1), "0.1"},
      {ValueCell::Double(1e20), "1e+20"},
      {ValueCell::Double(-2), "-2"},
      {ValueCell::Bool(true), "真"},
      {ValueCell::Bool(false), "假"},
      {TextCell("按钮"), "按钮"},
      {ValueCell::Subprogram(&cases), ""},
      {ValueCell::Unit({1, 2, 0x0001000B}), ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.value.tag << " " << c.value.Bits());
    EXPECT_EQ(ToText(c.value).view(), c.expected);
  }
}

TEST(ConversionTest, ToTextOfDateTimesDropsTrailingZeroParts) {
  const std::pair<double, std::string> cases[] = {
      {0, "1899年12月30日"},
      {45000, "2023年3月15日"},
      {45000.5, "2023年3月15日12时"},
      {45000 + (13 * 3600 + 5 * 60) / 86400.0, "2023年3月15日13时5分"},
      {45000 + (13 * 3600 + 5 * 60 + 9) / 86400.0, "2023年3月15日13时5分9秒"},
      {45000 + 9 / 86400.0, "2023年3月15日0时0分9秒"},
      {45000.99999999, "2023年3月16日"},  // rounds to the next midnight
      {-1.25, "1899年12月29日6时"},
      {-657434, "100年1月1日"},
      {1e9, "9999年12月31日"},  // clamped
  };
  for (const auto& [date, expected] : cases) {
    EXPECT_EQ(ToText(ValueCell::DateTime(date)).view(), expected) << date;
  }
}

TEST(ConversionTest, ToTextOfBytesStopsAtTheFirstZero) {
  const ByteSet bytes{'a', 'b', 0, 'c'};
  EXPECT_EQ(ToText(ValueCell::ByteSet(bytes.block())).view(), "ab");
  EXPECT_EQ(ToText(ValueCell::ByteSet(nullptr)).block(), nullptr);

  Array<std::int32_t> numbers{0x64636261, 0x65};
  EXPECT_EQ(ToText(ValueCell::IndirectArray(tags::Integer, numbers.block())).view(), "abcde");
  Array<TextValue> texts{TextValue("x")};
  EXPECT_EQ(ToText(ValueCell::IndirectArray(tags::Text, texts.block())).block(), nullptr);
}

TEST(ConversionTest, ToByteSet) {
  using Expected = std::vector<std::uint8_t>;
  EXPECT_EQ(Bytes(ToByteSet(TextCell("ab"))), (Expected{'a', 'b'}));
  EXPECT_EQ(ToByteSet(TextCell(nullptr)).block(), nullptr);
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::Integer(0x01020304))), (Expected{4, 3, 2, 1}));
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::Short(-2))), (Expected{0xFE, 0xFF}));
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::Byte(7))), (Expected{7}));
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::Bool(true))), (Expected{1, 0, 0, 0}));
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::Double(1.0))), (Expected{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  EXPECT_EQ(ToByteSet(ValueCell::Subprogram(nullptr)).size(), 8u);

  const ByteSet bytes{9, 8};
  ByteSet copy = ToByteSet(ValueCell::ByteSet(bytes.block()));
  EXPECT_NE(copy.block(), bytes.block());
  EXPECT_EQ(Bytes(copy), (Expected{9, 8}));

  Array<std::int16_t> shorts{1, 2};
  EXPECT_EQ(Bytes(ToByteSet(ValueCell::IndirectArray(tags::Short, shorts.block()))), (Expected{1, 0, 2, 0}));
  EXPECT_EQ(ToByteSet(ValueCell::Unit({1, 2, 0x0001000B})).block(), nullptr);
  EXPECT_EQ(ToByteSet(ValueCell{}).block(), nullptr);
}

}  // namespace
}  // namespace runtime
