#include "runtime/services/system_win.h"

#include <windows.h>

#include <vector>

#include "runtime/services/service_rules.h"
#include "runtime/values/date_time.h"

namespace services {
namespace {

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

constexpr DWORD kIdleWaitMilliseconds = 1000;

}  // namespace

// Read wide and converted: the ANSI call reports sizes in characters, too small for GBK bytes.
std::string GetEnvironmentText(const std::string& name) {
  const int nameLength = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (nameLength <= 0) return {};
  std::vector<wchar_t> wideName(static_cast<std::size_t>(nameLength));
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName.data(), nameLength);
  const DWORD size = GetEnvironmentVariableW(wideName.data(), nullptr, 0);
  if (size == 0) return {};
  std::vector<wchar_t> value(size);
  const DWORD length = GetEnvironmentVariableW(wideName.data(), value.data(), size);
  if (length == 0 || length >= size) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, value.data(), static_cast<int>(length), text.data(), bytes, nullptr, nullptr);
  return text;
}

bool WriteFile(const std::string& path, std::initializer_list<runtime::ByteSetRef> parts) {
  if (path.empty()) return false;
  const OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  for (const runtime::ByteSetRef& part : parts) {
    if (part.empty()) continue;
    DWORD written = 0;
    if (!::WriteFile(file.get(), part.data(), static_cast<DWORD>(part.size()), &written, nullptr) ||
        written != part.size()) {
      return false;
    }
  }
  return true;
}

bool RunProgram(const std::string& commandLine, bool wait, int show) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(RunShowCommand(show));
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  const OwnedHandle processHandle(process.hProcess);
  const OwnedHandle threadHandle(process.hThread);
  if (wait) {
    WaitForSingleObject(processHandle.get(), INFINITE);
  } else {
    WaitForInputIdle(processHandle.get(), kIdleWaitMilliseconds);
  }
  return true;
}

int GetScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int GetScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

double Now() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  return runtime::JoinDateTime({local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond});
}

}  // namespace services
