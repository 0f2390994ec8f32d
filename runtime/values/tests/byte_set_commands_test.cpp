#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/values/array_block.h"
#include "runtime/values/byte_set_commands.h"
#include "runtime/values/date_time.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::Bytes;
using testing::FatalMessage;
using testing::TextReport;
using Expected = std::vector<std::uint8_t>;

TEST(ByteSetCommandsTest, LengthRightMiddleAndZeros) {
  const ByteSet bytes{1, 2, 3};
  EXPECT_EQ(ByteSetLength(bytes), 3);
  EXPECT_EQ(ByteSetLength(ByteSet()), 0);

  EXPECT_EQ(Bytes(ByteSetRight(bytes, 2)), (Expected{2, 3}));
  EXPECT_EQ(Bytes(ByteSetRight(bytes, 9)), (Expected{1, 2, 3}));
  EXPECT_EQ(ByteSetRight(bytes, -1).block(), nullptr);
  EXPECT_EQ(ByteSetRight(bytes, 0).block(), nullptr);

  EXPECT_EQ(Bytes(ByteSetMiddle(bytes, 2, 1)), (Expected{2}));
  EXPECT_EQ(Bytes(ByteSetMiddle(bytes, 2, 9)), (Expected{2, 3}));
  EXPECT_EQ(Bytes(ByteSetMiddle(bytes, 0, 2)), (Expected{1, 2}));
  EXPECT_EQ(Bytes(ByteSetMiddle(bytes, 3, 1)), (Expected{3}));
  EXPECT_EQ(ByteSetMiddle(bytes, 4, 1).block(), nullptr);
  EXPECT_EQ(ByteSetMiddle(bytes, 1, -1).block(), nullptr);

  EXPECT_EQ(Bytes(ZeroBytes(3)), (Expected{0, 0, 0}));
  EXPECT_EQ(ZeroBytes(0).block(), nullptr);
  EXPECT_EQ(ZeroBytes(-5).block(), nullptr);
}

TEST(ByteSetCommandsTest, CopiesFromAddresses) {
  const char text[] = "按钮";
  EXPECT_EQ(TextFromPointer(text).view(), "按钮");
  EXPECT_EQ(TextFromPointer(nullptr).block(), nullptr);
  const std::uint8_t raw[] = {5, 0, 6};
  EXPECT_EQ(Bytes(ByteSetFromPointer(raw, 3)), (Expected{5, 0, 6}));
  EXPECT_EQ(ByteSetFromPointer(raw, 0).block(), nullptr);
  EXPECT_EQ(ByteSetFromPointer(raw, -1).block(), nullptr);
  EXPECT_EQ(ByteSetFromPointer(nullptr, 3).block(), nullptr);
}

TEST(ReadTypedDataTest, ShortReadAtTheEndPadsWithZerosAndEndsThePosition) {
  const ByteSet bytes{1, 2, 3, 4};
  std::int32_t position = 3;
  const Value value = ReadTypedData(bytes, data_kinds::Integer, &position);
  EXPECT_EQ(value.tag(), tags::Integer);
  EXPECT_EQ(value.cell().AsInteger(), 0x0403);
  EXPECT_EQ(position, -1);
}

TEST(ReadTypedDataTest, PositionWalksThroughRecords) {
  const ByteSet bytes{0x10, 0, 0, 0, 'h', 'i', 0, 0x20, 0, 'z'};
  std::int32_t position = 1;
  EXPECT_EQ(ReadTypedData(bytes, data_kinds::Integer, &position).cell().AsInteger(), 0x10);
  EXPECT_EQ(position, 5);
  const Value text = ReadTypedData(bytes, data_kinds::Text, &position);
  EXPECT_EQ(text.tag(), tags::Text);
  EXPECT_EQ(text.text().view(), "hi");
  EXPECT_EQ(position, 8);  // past the zero byte
  EXPECT_EQ(ReadTypedData(bytes, data_kinds::Short, &position).cell().AsInteger(), 0x20);
  EXPECT_EQ(position, 10);
  // A text without its zero byte runs to the end.
  EXPECT_EQ(ReadTypedData(bytes, data_kinds::Text, &position).text().view(), "z");
  EXPECT_EQ(position, -1);
  // Once at the end, reads give zero and the position stays ended.
  EXPECT_EQ(ReadTypedData(bytes, data_kinds::Integer, &position).cell().AsInteger(), 0);
  EXPECT_EQ(position, -1);
}

TEST(ReadTypedDataTest, ExactFitEndsThePosition) {
  const ByteSet bytes{1, 0, 0, 0, 2, 0, 0, 0};
  std::int32_t position = 1;
  std::vector<std::int32_t> read;
  while (position != -1) read.push_back(ReadTypedData(bytes, data_kinds::Integer, &position).cell().AsInteger());
  EXPECT_EQ(read, (std::vector<std::int32_t>{1, 2}));
}

TEST(ReadTypedDataTest, EachKindWithItsTagAndConversion) {
  const double big = 1e9;
  std::uint8_t raw[8];
  std::memcpy(raw, &big, sizeof raw);
  const ByteSet date(raw);
  EXPECT_EQ(ReadTypedData(date, data_kinds::DateTime).tag(), tags::DateTime);
  EXPECT_EQ(ReadTypedData(date, data_kinds::DateTime).cell().AsDouble(), kLatestDateTime);
  EXPECT_EQ(ReadTypedData(date, data_kinds::Double).cell().AsDouble(), 1e9);
  EXPECT_EQ(ReadTypedData(date, data_kinds::Long).cell().Bits(), ValueCell::Double(1e9).Bits());
  EXPECT_EQ(ReadTypedData(date, data_kinds::Subprogram).tag(), tags::Subprogram);

  const ByteSet small{0xFE, 0xFF, 0, 0x40};
  EXPECT_EQ(ReadTypedData(small, data_kinds::Byte).cell().low, 0xFEu);
  EXPECT_EQ(ReadTypedData(small, data_kinds::Short).cell().low, 0xFFFEu);
  EXPECT_EQ(ReadTypedData(ByteSet{0, 0, 0x80, 0x3F}, data_kinds::Float).cell().AsFloat(), 1.0f);
  const Value flag = ReadTypedData(small, data_kinds::Bool);
  EXPECT_EQ(flag.tag(), tags::Bool);
  EXPECT_EQ(flag.cell().low, 1u);
  EXPECT_EQ(ReadTypedData(ByteSet(), data_kinds::Integer).cell().AsInteger(), 0);
}

TEST(ReadTypedDataTest, UnknownKindIsFatal) {
  const ByteSet bytes{1};
  for (std::int32_t kind : {0, 11, -1}) {
    EXPECT_EQ(FatalMessage([&] { ReadTypedData(bytes, kind); }), TextReport("“欲取出数据的类型”参数值无效"))
        << kind;
  }
}

TEST(WriteToAddressTest, WritesTheValuesBytes) {
  std::uint8_t target[8];
  auto reset = [&] { std::memset(target, 0xEE, sizeof target); };
  auto written = [&] { return Expected(target, target + 8); };

  reset();
  WriteToAddress(ValueCell::Integer(0x01020304), target);
  EXPECT_EQ(written(), (Expected{4, 3, 2, 1, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  WriteToAddress(ValueCell::Integer(0x01020304), target, 2);
  EXPECT_EQ(written(), (Expected{4, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  WriteToAddress(ValueCell::Short(7), target, -1);  // a negative length means no limit
  EXPECT_EQ(written(), (Expected{7, 0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  const ByteSet bytes{9, 8, 7};
  WriteToAddress(ValueCell::ByteSet(bytes.block()), target);
  EXPECT_EQ(written(), (Expected{9, 8, 7, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  WriteToAddress(ValueCell::Text("ab"), target);
  EXPECT_EQ(written(), (Expected{'a', 'b', 0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  Array<std::uint8_t> members{1, 2};
  WriteToAddress(ValueCell::IndirectArray(tags::Byte, members.block()), target);
  EXPECT_EQ(written(), (Expected{1, 2, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));

  reset();
  WriteToAddress(ValueCell::Double(1.0), target, 100);
  EXPECT_EQ(written(), (Expected{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  WriteToAddress(ValueCell::Integer(1), nullptr);  // nothing to write to
}

}  // namespace
}  // namespace runtime
