#pragma once
// Shared by the Windows runtime tests: where the test program lives, and a stand-in for the
// end of the process so that fatal errors come back into the test as an exception.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/values/error_report.h"

namespace runtime::testing {

// The test program's directory, with or without the trailing "\".
inline std::string TestDirectory(bool trailingBackslash = true) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string full(path);
  full.erase(full.rfind('\\') + (trailingBackslash ? 1 : 0));
  return full;
}

struct FatalEnd {
  int exitCode;
};

// Installs an error hook that records every report and a terminal that throws FatalEnd
// instead of ending the process. suppressBox: the hook's answer.
class ErrorCapture final : public ErrorTerminal {
 public:
  struct Report {
    int code;
    std::string text;
  };
  struct Box {
    std::string message;
    std::string caption;
  };

  explicit ErrorCapture(bool suppressBox = true) : suppressBox_(suppressBox) {
    current_ = this;
    previousHook_ = SetErrorHook(&Hook);
    InstallErrorTerminal(*this);
  }
  ~ErrorCapture() override {
    RemoveErrorTerminal();
    SetErrorHook(previousHook_);
    current_ = nullptr;
  }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  void ShowErrorBox(const char* message, const char* caption) override {
    boxes.push_back({message, caption});
  }
  [[noreturn]] void EndProcess(int exitCode) override { throw FatalEnd{exitCode}; }

  std::vector<Report> reports;
  std::vector<Box> boxes;

 private:
  static int Hook(int code, const char* text) {
    current_->reports.push_back({code, text ? text : ""});
    return current_->suppressBox_ ? 1 : 0;
  }

  bool suppressBox_;
  ErrorHook previousHook_ = nullptr;
  static inline ErrorCapture* current_ = nullptr;
};

}  // namespace runtime::testing
