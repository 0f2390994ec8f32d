#pragma once
// The fatal error report: optional hook, then the message box, then the end of the process
// with exit code -1. ReportError never returns.
//
// Plugging in the Windows side: derive from ErrorTerminal, show the box with
// MessageBoxA(nullptr, message, caption, MB_ICONERROR) in ShowErrorBox and run the end-of-process
// sequence with the exit code in EndProcess; install it once at start-up:
//     static WindowsErrorTerminal terminal;
//     runtime::InstallErrorTerminal(terminal);
// Without one installed the message goes to stderr and the process exits with -1.
// Tests install a terminal whose EndProcess throws or jumps back into the test; production
// terminals must not throw (errors can be raised inside window procedures).
#include <string>
#include <string_view>

namespace runtime {

namespace error_codes {
inline constexpr int Text = 0;  // the report carries its own text
inline constexpr int IndexBeyondRange = 1;
inline constexpr int NotNumeric = 2;
inline constexpr int DimensionMismatch = 3;
inline constexpr int IndexBelowOne = 4;
inline constexpr int TypeMismatch = 5;
// Kept for the table only: on x64 a DLL function cannot leave the stack unbalanced.
inline constexpr int DllStackError = 6;
inline constexpr int SubStatementNoValue = 7;
inline constexpr int OnlyEqualityComparable = 8;
inline constexpr int ChooseIndexOutOfRange = 9;
inline constexpr int RedimensionNonPositive = 10;
inline constexpr int ArgumentTypeInvalid = 11;
}  // namespace error_codes

inline constexpr char kErrorCaption[] = "错误";

// The table text of a numbered error; empty for 0 and unknown codes.
std::string_view ErrorTableText(int code);

// "运行时出错!\r\n\r\n", then the code and the text lines when present.
std::string ComposeErrorMessage(int code, std::string_view text);

// A non-zero result suppresses the message box; the process still ends.
using ErrorHook = int (*)(int code, const char* text);
// Returns the hook it replaces; null removes it.
ErrorHook SetErrorHook(ErrorHook hook);

class ErrorTerminal {
 public:
  virtual ~ErrorTerminal() = default;
  virtual void ShowErrorBox(const char* message, const char* caption) = 0;
  [[noreturn]] virtual void EndProcess(int exit_code) = 0;
};

void InstallErrorTerminal(ErrorTerminal& terminal);
// Back to the stderr default.
void RemoveErrorTerminal();

// A numbered error: the text is its table entry.
[[noreturn]] void ReportError(int code);
// Code 0 with the command's own text, or a code with a text of the caller's choice.
[[noreturn]] void ReportError(int code, std::string_view text);

}  // namespace runtime
