#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "runtime/services/dialog_values.h"
#include "runtime/values/byte_set.h"
#include "runtime/values/conversion_commands.h"
#include "runtime/values/text_value.h"

namespace services {
namespace {

using runtime::ValueCell;

TEST(MessageTextTest, BasicValuesAsTextOtherKindsEmpty) {
  const runtime::TextValue text("要播放吗？");
  const std::uint8_t raw[] = {'a', 'b'};
  const runtime::ByteSet bytes(raw);
  const struct {
    ValueCell message;
    std::string shown;
  } cases[] = {
      {ValueCell::Text(text.block()), "要播放吗？"},
      {ValueCell::Text(nullptr), ""},
      {ValueCell::Integer(-42), "-42"},
      {ValueCell::Byte(200), "200"},
      {ValueCell::Short(-7), "-7"},
      {ValueCell::Long(12345678901234), "12345678901234"},
      {ValueCell::Double(2.5), "2.5"},
      {ValueCell::Float(0.25f), "0.25"},
      {ValueCell::Bool(true), "真"},
      {ValueCell::Bool(false), "假"},
      {ValueCell::ByteSet(bytes.block()), ""},
      {ValueCell::Unit({1, 2, 0x0001000B}), ""},
      {ValueCell{}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageText(c.message), c.shown) << c.shown;
  // A date-time reads as the runtime's ToText writes it.
  EXPECT_EQ(MessageText(ValueCell::DateTime(45356.5)), "2024年3月5日12时");
}

TEST(InputNumbersTest, DecimalTextsWithoutFullWidthForms) {
  const struct {
    const char* text;
    std::int32_t integer;
    std::int64_t wide;
    double real;
  } cases[] = {
      {"123", 123, 123, 123.0},
      {"  -17x", -17, -17, -17.0},
      {"+8", 8, 8, 8.0},
      {"-1.75", -1, -1, -1.75},
      {"2.5e3", 2, 2, 2500.0},
      {".5", 0, 0, 0.5},
      {"", 0, 0, 0.0},
      {"abc", 0, 0, 0.0},
      {"１２", 0, 0, 0.0},  // full-width digits are not read
      {"99999999999", 2147483647, 99999999999, 99999999999.0},
      {"-2147483648", -2147483647 - 1, -2147483648LL, -2147483648.0},
      {"-99999999999999999999", -2147483647 - 1, std::numeric_limits<std::int64_t>::min(), -1e20},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runtime::DecimalInteger(c.text), c.integer) << c.text;
    EXPECT_EQ(runtime::DecimalLong(c.text), c.wide) << c.text;
    EXPECT_DOUBLE_EQ(runtime::DecimalDouble(c.text), c.real) << c.text;
  }
}

TEST(StoreInputTest, ByTheVariablesKind) {
  std::uint8_t byte = 1;
  std::int16_t shortValue = 1;
  std::int32_t integer = 1;
  std::int64_t wide = 1;
  float single = 1;
  double real = 1;
  EXPECT_TRUE(StoreInput("300", ValueCell::IndirectVariable(runtime::tags::Byte, &byte)));
  EXPECT_EQ(byte, 300 % 256);  // cut to the byte
  EXPECT_TRUE(StoreInput("70000", ValueCell::IndirectVariable(runtime::tags::Short, &shortValue)));
  EXPECT_EQ(shortValue, static_cast<std::int16_t>(70000));
  EXPECT_TRUE(StoreInput("-12", ValueCell::IndirectVariable(runtime::tags::Integer, &integer)));
  EXPECT_EQ(integer, -12);
  EXPECT_TRUE(StoreInput("5000000000", ValueCell::IndirectVariable(runtime::tags::Long, &wide)));
  EXPECT_EQ(wide, 5000000000);
  EXPECT_TRUE(StoreInput("1.5", ValueCell::IndirectVariable(runtime::tags::Float, &single)));
  EXPECT_EQ(single, 1.5f);
  EXPECT_TRUE(StoreInput("-0.125", ValueCell::IndirectVariable(runtime::tags::Double, &real)));
  EXPECT_EQ(real, -0.125);

  // Kinds that take no input and cells that are no variable: nothing stored.
  std::int32_t untouched = 7;
  EXPECT_FALSE(StoreInput("5", ValueCell::IndirectVariable(runtime::tags::Bool, &untouched)));
  EXPECT_FALSE(StoreInput("5", ValueCell::IndirectVariable(runtime::tags::DateTime, &untouched)));
  EXPECT_FALSE(StoreInput("5", ValueCell::Integer(3)));
  EXPECT_EQ(untouched, 7);
}

TEST(StoreInputTest, ATextVariableGetsItsOwnCopyInPlaceOfTheOldOne) {
  char* variable = runtime::TextValue("旧名").release();
  EXPECT_TRUE(StoreInput("新名", ValueCell::IndirectVariable(runtime::tags::Text, &variable)));
  ASSERT_NE(variable, nullptr);
  EXPECT_STREQ(variable, "新名");
  EXPECT_TRUE(StoreInput("", ValueCell::IndirectVariable(runtime::tags::Text, &variable)));
  EXPECT_EQ(variable, nullptr);  // the empty text
  runtime::TextValue::Adopt(variable);
}

}  // namespace
}  // namespace services
