#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/values/array_block.h"
#include "runtime/values/byte_set.h"
#include "runtime/values/date_time.h"
#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"
#include "runtime/values/text_value.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::Bytes;
using testing::CountingHeap;
using testing::FatalMessage;
using testing::TextReport;

// A constant range the tests own.
const char kConstant[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'};

class MemoryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ProcessStaticRanges().Add(kConstant, sizeof kConstant); }
  CountingHeap heap;
};

TEST_F(MemoryTest, FreeIgnoresNullAndConstants) {
  Free(nullptr);
  Free(const_cast<char*>(kConstant + 3));
  Free(const_cast<void*>(ConstantEmptyArray()));
  EXPECT_EQ(heap.frees(), 0);
  void* block = Allocate(4);
  Free(block);
  EXPECT_EQ(heap.frees(), 1);
  EXPECT_EQ(heap.live(), 0u);
}

TEST_F(MemoryTest, ReallocatingAConstantCopiesUpToTheRangeEnd) {
  auto* tail = static_cast<char*>(Reallocate(const_cast<char*>(kConstant + 4), 16));
  EXPECT_NE(tail, kConstant + 4);
  EXPECT_EQ(std::string(tail, 4), "EFGH");
  auto* head = static_cast<char*>(Reallocate(const_cast<char*>(kConstant), 3));
  EXPECT_EQ(std::string(head, 3), "ABC");
  EXPECT_EQ(std::string(kConstant, 8), "ABCDEFGH");
  EXPECT_EQ(heap.live(), 2u);
  Free(tail);
  Free(head);
}

TEST_F(MemoryTest, ReallocateKeepsContentsAndTreatsNullAsAllocate) {
  auto* block = static_cast<char*>(Reallocate(nullptr, 2));
  std::memcpy(block, "xy", 2);
  block = static_cast<char*>(Reallocate(block, 4096));
  EXPECT_EQ(std::string(block, 2), "xy");
  Free(block);
  EXPECT_EQ(heap.live(), 0u);
}

TEST_F(MemoryTest, AllocationFailureIsFatalWithTheByteCount) {
  heap.fail = true;
  EXPECT_EQ(FatalMessage([] { Allocate(64); }), TextReport("分配 64 字节内存失败!"));
  void* block = nullptr;
  heap.fail = false;
  block = Allocate(8);
  heap.fail = true;
  EXPECT_EQ(FatalMessage([&] { Reallocate(block, 100); }), TextReport("分配 100 字节内存失败!"));
  heap.fail = false;
  Free(block);  // a failed reallocation leaves the block alone
}

TEST_F(MemoryTest, JoinByteSetsOfRawBlocks) {
  const ByteSet a{1, 2};
  const ByteSet b{3, 4, 5};
  const void* parts[] = {a.block(), nullptr, b.block()};
  ByteSet joined = ByteSet::Adopt(JoinByteSets(parts));
  EXPECT_EQ(Bytes(joined), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  std::int32_t header[2];
  std::memcpy(header, joined.block(), sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 5);

  const void* nothing[] = {nullptr, nullptr};
  EXPECT_EQ(JoinByteSets(nothing), nullptr);
}

TEST_F(MemoryTest, StoreConvertsBoolsAndClampsDates) {
  std::int32_t flag = 0;
  const std::int32_t five = 5;
  EXPECT_EQ(StoreWithConversion(tags::Bool, &flag, &five, sizeof five), 4u);
  EXPECT_EQ(flag, 1);
  const std::int32_t zero = 0;
  StoreWithConversion(tags::Bool, &flag, &zero, sizeof zero);
  EXPECT_EQ(flag, 0);

  struct DateCase {
    double stored;
    double kept;
  };
  for (const DateCase& c : {DateCase{1e9, kLatestDateTime}, DateCase{-1e9, kEarliestDateTime},
                            DateCase{45000.25, 45000.25}}) {
    double date = 0;
    StoreWithConversion(tags::DateTime, &date, &c.stored, sizeof c.stored);
    EXPECT_EQ(date, c.kept);
  }
}

TEST_F(MemoryTest, StoreOfShortSourcePadsWithZerosAndKeepsTheRest) {
  std::uint8_t variable[8];
  std::memset(variable, 0xEE, sizeof variable);
  const std::uint8_t source[] = {0x11, 0x22};
  EXPECT_EQ(StoreWithConversion(tags::Integer, variable, source, sizeof source), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(variable, variable + 8),
            (std::vector<std::uint8_t>{0x11, 0x22, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST_F(MemoryTest, TextStoreStopsAtZeroAndReplacesTheOldBlock) {
  char* variable = TextValue("old").release();
  EXPECT_EQ(StoreWithConversion(tags::Text, &variable, "ab\0cd", 5), 3u);
  EXPECT_STREQ(variable, "ab");
  EXPECT_EQ(heap.live(), 1u);  // "old" went back

  EXPECT_EQ(StoreWithConversion(tags::Text, &variable, "xyz", 3), 3u);
  EXPECT_STREQ(variable, "xyz");
  EXPECT_EQ(StoreWithConversion(tags::Text, &variable, "\0", 1), 1u);
  EXPECT_EQ(variable, nullptr);
  EXPECT_EQ(heap.live(), 0u);
}

TEST_F(MemoryTest, ByteSetStoreCopiesIntoANewBlock) {
  void* variable = nullptr;
  const std::uint8_t source[] = {9, 0, 8};
  EXPECT_EQ(StoreWithConversion(tags::ByteSet, &variable, source, sizeof source), 3u);
  ByteSet stored = ByteSet::Adopt(variable);
  EXPECT_EQ(Bytes(stored), (std::vector<std::uint8_t>{9, 0, 8}));
}

}  // namespace
}  // namespace runtime
