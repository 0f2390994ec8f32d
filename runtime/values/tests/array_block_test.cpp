#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/values/array_block.h"
#include "runtime/values/error_report.h"
#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::CountingHeap;
using testing::FatalMessage;

std::vector<std::int32_t> Header(const void* block, int words) {
  std::vector<std::int32_t> header(static_cast<std::size_t>(words));
  std::memcpy(header.data(), block, 4 * header.size());
  return header;
}

std::string NumberedReport(int code) { return ComposeErrorMessage(code, ErrorTableText(code)); }

Array<std::int32_t> TwoByThree() {
  const std::int32_t sizes[] = {2, 3};
  Array<std::int32_t> array = Array<std::int32_t>::WithSizes(sizes);
  for (std::int32_t i = 1; i <= 6; ++i) array.Set(i, i * 10);
  return array;
}

TEST(ArrayBlockTest, FreshArrayIsTheConstantEmptyOne) {
  Array<double> array;
  EXPECT_EQ(array.block(), ConstantEmptyArray());
  EXPECT_EQ(Header(array.block(), 2), (std::vector<std::int32_t>{1, 0}));
  EXPECT_EQ(array.count(), 0u);
  EXPECT_TRUE(ProcessStaticRanges().Contains(ConstantEmptyArray()));
  const std::int32_t none[] = {0};
  EXPECT_EQ(Array<double>::WithSizes(none).block(), ConstantEmptyArray());
}

TEST(ArrayBlockTest, MembersFollowTheHeaderRowByRow) {
  const Array<std::int32_t> array = TwoByThree();
  EXPECT_EQ(Header(array.block(), 3), (std::vector<std::int32_t>{2, 2, 3}));
  const std::int32_t second_row_first[] = {2, 1};
  EXPECT_EQ(array.Get(second_row_first), 40);
  EXPECT_EQ(array.untyped().Member(second_row_first),
            static_cast<const std::uint8_t*>(array.block()) + 12 + 3 * 4);
}

struct IndexCase {
  std::vector<std::int32_t> indices;
  int code;
};

TEST(ArrayBlockTest, BadIndicesReportTheirCode) {
  const Array<std::int32_t> array = TwoByThree();
  const IndexCase cases[] = {
      {{0}, error_codes::IndexBelowOne},  // 4, not 1
      {{-3}, error_codes::IndexBelowOne},
      {{7}, error_codes::IndexBeyondRange},  // one past the member count
      {{0, 1}, error_codes::IndexBelowOne},
      {{3, 1}, error_codes::IndexBeyondRange},
      {{1, 4}, error_codes::IndexBeyondRange},
      {{1, 1, 1}, error_codes::DimensionMismatch},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.indices));
    EXPECT_EQ(FatalMessage([&] { array.Get(c.indices); }), NumberedReport(c.code));
  }
  EXPECT_EQ(array.Get(6), 60);
}

TEST(ArrayBlockTest, SizesBelowTheirMinimumReportCode10) {
  for (const std::vector<std::int32_t>& sizes :
       {std::vector<std::int32_t>{-1}, std::vector<std::int32_t>{2, 0}, std::vector<std::int32_t>{3, -2}}) {
    SCOPED_TRACE(::testing::PrintToString(sizes));
    EXPECT_EQ(FatalMessage([&] { Array<std::uint8_t>::WithSizes(sizes); }),
              NumberedReport(error_codes::RedimensionNonPositive));
  }
}

TEST(ArrayBlockTest, SizesWhoseProductOverflowsAreAnAllocationFailure) {
  const std::int32_t sizes[] = {65536, 65536, 65536};
  const std::string message = FatalMessage([&] { Array<double>::WithSizes(sizes); });
  EXPECT_NE(message.find("字节内存失败!"), std::string::npos) << message;
}

TEST(ArrayBlockTest, AppendFlattensATwoByThreeArrayToSevenMembers) {
  Array<std::int32_t> array = TwoByThree();
  array.Append(70);
  EXPECT_EQ(Header(array.block(), 2), (std::vector<std::int32_t>{1, 7}));
  for (std::int32_t i = 1; i <= 7; ++i) EXPECT_EQ(array.Get(i), i * 10);
}

TEST(ArrayBlockTest, AppendToADimensionlessArrayGrowsItsHeaderFirst) {
  // { 0, member }: no dimensions, one member.
  void* block = Allocate(4 + 8);
  const std::int32_t dimensions = 0;
  const double member = 2.5;
  std::memcpy(block, &dimensions, 4);
  std::memcpy(static_cast<std::uint8_t*>(block) + 4, &member, 8);
  Array<double> array = Array<double>::Adopt(block);
  EXPECT_EQ(array.count(), 1u);
  array.Append(3.5);
  EXPECT_EQ(Header(array.block(), 2), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(array.Get(1), 2.5);
  EXPECT_EQ(array.Get(2), 3.5);
}

TEST(ArrayBlockTest, AppendToTheConstantEmptyArrayLeavesItAlone) {
  Array<std::int16_t> array;
  array.Append(-4);
  EXPECT_NE(array.block(), ConstantEmptyArray());
  EXPECT_EQ(array.Get(1), -4);
  EXPECT_EQ(Header(ConstantEmptyArray(), 2), (std::vector<std::int32_t>{1, 0}));
}

TEST(ArrayBlockTest, TextMembersBelongToTheArray) {
  CountingHeap heap;
  {
    Array<TextValue> texts{TextValue("一"), TextValue("二")};
    EXPECT_EQ(heap.live(), 3u);  // two texts and the block
    texts.Set(1, TextValue("三"));
    EXPECT_EQ(heap.live(), 3u);  // the old member went back
    EXPECT_EQ(texts.Get(1).view(), "三");

    Array<TextValue> copy = texts;
    copy.Set(2, TextValue());
    EXPECT_EQ(texts.Get(2).view(), "二");
    EXPECT_TRUE(copy.Get(2).empty());

    Array<ByteSet> sets;
    sets.Append(ByteSet{1, 2});
    EXPECT_EQ(sets.Get(1).size(), 2u);
  }
  EXPECT_EQ(heap.live(), 0u);
}

// A constant array of two constant texts, the way the program's constant data holds one.
struct ConstantTextArray {
  std::int32_t header[2] = {1, 2};
  const char* members[2];
};
const char kFirst[] = "甲";
const char kSecond[] = "乙";
const ConstantTextArray kConstantArray{{1, 2}, {kFirst, kSecond}};

TEST(ArrayBlockTest, ConstantArrayIsCopiedBeforeItChanges) {
  ProcessStaticRanges().Add(&kConstantArray, sizeof kConstantArray);
  ProcessStaticRanges().Add(kFirst, sizeof kFirst);
  ProcessStaticRanges().Add(kSecond, sizeof kSecond);
  CountingHeap heap;
  {
    Array<TextValue> array = Array<TextValue>::Adopt(const_cast<ConstantTextArray*>(&kConstantArray));
    EXPECT_EQ(array.Get(2).view(), "乙");
    array.Set(1, TextValue("丙"));
    EXPECT_NE(array.block(), &kConstantArray);
    EXPECT_EQ(array.Get(1).view(), "丙");
    EXPECT_EQ(array.Get(2).data(), kSecond);  // still the constant text
    EXPECT_EQ(kConstantArray.members[0], kFirst);
  }
  // The copy and "丙" went back; the constants were never handed to the heap.
  EXPECT_EQ(heap.live(), 0u);
  EXPECT_EQ(heap.frees(), 2);
}

TEST(ArrayBlockTest, MakeWritableOnlyCopiesConstants) {
  void* variable = const_cast<void*>(ConstantEmptyArray());
  MakeArrayWritable(&variable, 4);
  EXPECT_NE(variable, ConstantEmptyArray());
  EXPECT_EQ(Header(variable, 2), (std::vector<std::int32_t>{1, 0}));
  void* heap_block = variable;
  MakeArrayWritable(&variable, 4);
  EXPECT_EQ(variable, heap_block);
  Free(variable);
}

}  // namespace
}  // namespace runtime
