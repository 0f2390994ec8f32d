#include "runtime/services/program_files_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/runtime_app.h"
#include "runtime/services/service_rules.h"

namespace services {

std::string GetRunDirectory() {
  std::string directory = runtime::RuntimeApp::Instance().ProgramDirectory();
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

std::string GetProgramFileName() { return runtime::RuntimeApp::Instance().ProgramFileName(); }

bool FileExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void Delay(int milliseconds) { Sleep(static_cast<DWORD>(std::max(milliseconds, 0))); }

int GetFaceColour() { return static_cast<int>(GetSysColor(COLOR_BTNFACE)); }

std::string ReadConfigItem(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) {
  const std::string f(SkipLeadingBlanks(file)), s(SkipLeadingBlanks(section)), k(SkipLeadingBlanks(key));
  if (f.empty() || s.empty() || k.empty()) return {};
  std::vector<char> buffer(10240, '\0');
  const DWORD length = GetPrivateProfileStringA(s.c_str(), k.c_str(), fallback.c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()), f.c_str());
  return std::string(buffer.data(), length);
}

bool WriteConfigItem(const std::string& file, const std::string& section,
                     const std::optional<std::string>& key, const std::optional<std::string>& value) {
  return WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr,
                                    key && value ? value->c_str() : nullptr, file.c_str()) != FALSE;
}

std::string SetDllSearchDirectory(const std::optional<std::string>& directory) {
  runtime::DllCommandTable& table = runtime::RuntimeApp::Instance().DllCommands();
  std::string previous = table.SearchDirectory();
  table.SetSearchDirectory(directory.value_or(std::string{}));
  return previous;
}

}  // namespace services
