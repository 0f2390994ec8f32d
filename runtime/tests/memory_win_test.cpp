// The memory service once the runtime has started on Windows: blocks come from the process
// heap, and the program's literal texts are constant data that free and reallocate respect.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/runtime_app.h"
#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"
#include "runtime/values/text_value.h"

namespace runtime {
namespace {

const char kLiteral[] = "按钮_音效1";

class StartedRuntime : public ::testing::Test {
 protected:
  // Started once for the whole test program: the heap may never change under live blocks.
  static void SetUpTestSuite() {
    static RuntimeApp app;
    app.Initialise({});
  }
};

TEST_F(StartedRuntime, BlocksComeFromTheProcessHeap) {
  void* block = Allocate(100);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, block));
  EXPECT_GE(HeapSize(GetProcessHeap(), 0, block), 100u);
  block = Reallocate(block, 5000);
  EXPECT_GE(HeapSize(GetProcessHeap(), 0, block), 5000u);
  Free(block);
}

TEST_F(StartedRuntime, LiteralTextsLieInTheConstantRange) {
  EXPECT_TRUE(ProcessStaticRanges().Contains(kLiteral));
  EXPECT_TRUE(ProcessStaticRanges().Contains("其他字面文本"));
  char onStack[4] = "abc";
  EXPECT_FALSE(ProcessStaticRanges().Contains(onStack));
  void* heapBlock = Allocate(4);
  EXPECT_FALSE(ProcessStaticRanges().Contains(heapBlock));
  Free(heapBlock);
}

TEST_F(StartedRuntime, ConstantTextIsNeverFreedAndReallocatingCopiesIt) {
  Free(const_cast<char*>(kLiteral));  // must be a no-op, not a heap free
  auto* copy = static_cast<char*>(Reallocate(const_cast<char*>(kLiteral), sizeof kLiteral));
  ASSERT_NE(copy, static_cast<const void*>(kLiteral));
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, copy));
  EXPECT_STREQ(copy, kLiteral);
  copy[0] = 'x';
  EXPECT_EQ(std::memcmp(kLiteral, "按钮", 4), 0);
  Free(copy);

  // A text owner keeps the constant as it is and lets it go without a free.
  {
    TextValue constant = TextValue::FromConstant(kLiteral);
    EXPECT_EQ(constant.block(), kLiteral);
  }
  EXPECT_STREQ(kLiteral, "按钮_音效1");
}

}  // namespace
}  // namespace runtime
