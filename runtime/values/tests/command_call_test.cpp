#include <gtest/gtest.h>

#include <vector>

#include "runtime/values/command_call.h"
#include "runtime/values/error_report.h"
#include "runtime/values/text_value.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::FatalMessage;

// Adds its integer arguments; an omitted second argument counts as 100. It also checks that
// the result cell arrives zeroed.
void AddCommand(ValueCell* result, int count, ValueCell* arguments) {
  const std::span<const ValueCell> list(arguments, static_cast<std::size_t>(count));
  const bool clean = result->low == 0 && result->high == 0 && result->tag == 0;
  const ValueCell* second = OptionalArgument(list, 1);
  const std::int32_t sum = list[0].AsInteger() + (second ? second->AsInteger() : 100);
  *result = clean ? ValueCell::Integer(sum) : ValueCell{};
}

TEST(CommandCallTest, OmittedArgumentsEitherWay) {
  std::vector<ValueCell> both{ValueCell::Integer(1), ValueCell::Integer(2)};
  EXPECT_EQ(CallCommand(&AddCommand, both).AsInteger(), 3);
  std::vector<ValueCell> zero_cell{ValueCell::Integer(1), ValueCell{}};
  EXPECT_EQ(CallCommand(&AddCommand, zero_cell).AsInteger(), 101);
  std::vector<ValueCell> left_off{ValueCell::Integer(1)};
  const ValueCell result = CallCommand(&AddCommand, left_off);
  EXPECT_EQ(result.AsInteger(), 101);
  EXPECT_EQ(result.tag, tags::Integer);
  // A given zero is no omission.
  std::vector<ValueCell> given_zero{ValueCell::Integer(1), ValueCell::Integer(0)};
  EXPECT_EQ(CallCommand(&AddCommand, given_zero).AsInteger(), 1);
}

TEST(CommandCallTest, StoreThroughByReferenceCells) {
  std::int32_t flag = 0;
  const std::int32_t seven = 7;
  StoreIntoVariable(ValueCell::Of(tags::Bool, reinterpret_cast<std::uintptr_t>(&flag)), &seven, 4);
  EXPECT_EQ(flag, 1);

  std::int32_t number = 0;
  StoreIntoVariable(ValueCell::IndirectVariable(tags::Integer, &number), &seven, 4);
  EXPECT_EQ(number, 7);

  TextValue text("旧");
  char* variable = text.release();
  EXPECT_EQ(StoreIntoVariable(ValueCell::IndirectVariable(tags::Text, &variable), "新的\0x", 6), 5u);
  text.Reset(variable);
  EXPECT_EQ(text.view(), "新的");
}

TEST(CommandCallTest, KindChecksReportTheirCodes) {
  const ValueCell button = ValueCell::Unit({1, 5, 0x0001000B});
  EXPECT_EQ(&ExpectResultKind(button, 0x0001000B), &button);
  EXPECT_EQ(FatalMessage([&] { ExpectResultKind(button, 0x00010001); }),
            ComposeErrorMessage(5, "数据或数组类型不匹配"));

  const ValueCell number = ValueCell::Double(1);
  EXPECT_EQ(&RequireNumeric(number), &number);
  EXPECT_EQ(FatalMessage([] { RequireNumeric(ValueCell::Text(nullptr)); }),
            ComposeErrorMessage(2, "未得到所需要的数值型数据"));
  EXPECT_EQ(FatalMessage([] { RequireNumeric(ValueCell::Bool(true)); }),
            ComposeErrorMessage(2, "未得到所需要的数值型数据"));
}

}  // namespace
}  // namespace runtime
