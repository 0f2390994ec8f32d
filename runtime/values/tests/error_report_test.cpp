#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "runtime/values/error_report.h"
#include "test_support.h"

namespace runtime {
namespace {

using testing::FatalMessage;
using testing::Reports;

std::vector<std::string> Lines(const std::string& message) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = message.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(message.substr(start, end - start));
  }
  EXPECT_EQ(start, message.size()) << "the message ends with a line break";
  return lines;
}

TEST(ErrorReportTest, BoxOfANumberedErrorLineByLine) {
  const std::string message = FatalMessage([] { ReportError(1); });
  EXPECT_EQ(Lines(message), (std::vector<std::string>{"运行时出错!", "", "错误代码：1", "",
                                                      "错误信息：数组成员引用下标超出定义范围"}));
  EXPECT_EQ(Reports().caption, "错误");
  EXPECT_EQ(Reports().exit_code, -1);
}

TEST(ErrorReportTest, CodeAndTextLinesOnlyWhenPresent) {
  EXPECT_EQ(ComposeErrorMessage(0, "不能整除于零"), "运行时出错!\r\n\r\n错误信息：不能整除于零\r\n");
  EXPECT_EQ(ComposeErrorMessage(12, ""), "运行时出错!\r\n\r\n错误代码：12\r\n\r\n");
  EXPECT_EQ(ComposeErrorMessage(0, ""), "运行时出错!\r\n\r\n");
}

TEST(ErrorReportTest, TableTextsByCode) {
  EXPECT_EQ(ErrorTableText(4), "数组成员引用下标必须大于等于1");
  EXPECT_EQ(ErrorTableText(6), "调用DLL命令后发现堆栈错误");
  EXPECT_EQ(ErrorTableText(11), "所提供参数的数据类型不符合要求");
  EXPECT_EQ(ErrorTableText(0), "");
  EXPECT_EQ(ErrorTableText(12), "");
  EXPECT_EQ(ErrorTableText(-1), "");
}

struct HookRecord {
  int calls = 0;
  int code = -1;
  std::string text;
  int result = 0;
};
HookRecord hook_record;

int RecordingHook(int code, const char* text) {
  ++hook_record.calls;
  hook_record.code = code;
  hook_record.text = text;
  return hook_record.result;
}

// A hook that fails itself.
int FailingHook(int, const char*) {
  ++hook_record.calls;
  ReportError(0, "钩子出错");
}

class ErrorHookTest : public ::testing::Test {
 protected:
  void SetUp() override { hook_record = {}; }
  void TearDown() override { SetErrorHook(nullptr); }
};

TEST_F(ErrorHookTest, NonZeroResultSuppressesTheBoxButStillEnds) {
  SetErrorHook(&RecordingHook);
  hook_record.result = 1;
  EXPECT_EQ(FatalMessage([] { ReportError(5); }), "");
  EXPECT_FALSE(Reports().box_shown);
  EXPECT_EQ(Reports().exit_code, -1);
  EXPECT_EQ(hook_record.code, 5);
  EXPECT_EQ(hook_record.text, "数据或数组类型不匹配");
}

TEST_F(ErrorHookTest, ZeroResultLetsTheBoxShow) {
  SetErrorHook(&RecordingHook);
  FatalMessage([] { ReportError(0, "自己的话"); });
  EXPECT_TRUE(Reports().box_shown);
  EXPECT_EQ(hook_record.code, 0);
  EXPECT_EQ(hook_record.text, "自己的话");
}

TEST_F(ErrorHookTest, FailureInsideTheHookGoesStraightToTheBox) {
  SetErrorHook(&FailingHook);
  EXPECT_EQ(FatalMessage([] { ReportError(2); }), testing::TextReport("钩子出错"));
  EXPECT_EQ(hook_record.calls, 1);
  // The flag is down again afterwards: the next report calls the hook.
  FatalMessage([] { ReportError(2); });
  EXPECT_EQ(hook_record.calls, 2);
}

}  // namespace
}  // namespace runtime
