#include "runtime/values/error_report.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace runtime {
namespace {

constexpr std::string_view kErrorTable[] = {
    "",
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

class StandardErrorTerminal final : public ErrorTerminal {
 public:
  void ShowErrorBox(const char* message, const char*) override {
    std::fputs(message, stderr);
    std::fflush(stderr);
  }
  [[noreturn]] void EndProcess(int exit_code) override { std::exit(exit_code); }
};

ErrorHook error_hook = nullptr;
// Plain flag: a hook that fails itself goes straight to the box.
bool hook_in_progress = false;
ErrorTerminal* terminal = nullptr;

ErrorTerminal& CurrentTerminal() {
  static StandardErrorTerminal standard;
  return terminal ? *terminal : standard;
}

// Clears the flag even when a test terminal unwinds out of the hook.
class HookCall {
 public:
  HookCall() { hook_in_progress = true; }
  ~HookCall() { hook_in_progress = false; }
  HookCall(const HookCall&) = delete;
  HookCall& operator=(const HookCall&) = delete;
};

}  // namespace

std::string_view ErrorTableText(int code) {
  if (code < 1 || code >= static_cast<int>(std::size(kErrorTable))) return {};
  return kErrorTable[code];
}

std::string ComposeErrorMessage(int code, std::string_view text) {
  std::string message = "运行时出错!\r\n\r\n";
  if (code != 0) {
    message += "错误代码：";
    message += std::to_string(code);
    message += "\r\n\r\n";
  }
  if (!text.empty()) {
    message += "错误信息：";
    message += text;
    message += "\r\n";
  }
  return message;
}

ErrorHook SetErrorHook(ErrorHook hook) {
  ErrorHook previous = error_hook;
  error_hook = hook;
  return previous;
}

void InstallErrorTerminal(ErrorTerminal& installed) { terminal = &installed; }
void RemoveErrorTerminal() { terminal = nullptr; }

void ReportError(int code) { ReportError(code, ErrorTableText(code)); }

void ReportError(int code, std::string_view text) {
  const std::string owned_text(text);
  bool suppressed = false;
  if (error_hook != nullptr && !hook_in_progress) {
    HookCall call;
    suppressed = error_hook(code, owned_text.c_str()) != 0;
  }
  ErrorTerminal& end = CurrentTerminal();
  if (!suppressed) end.ShowErrorBox(ComposeErrorMessage(code, owned_text).c_str(), kErrorCaption);
  end.EndProcess(-1);
  std::abort();  // a terminal that came back
}

}  // namespace runtime
