#include "runtime/dll_command_lookup.h"

namespace runtime {

DllExportName ParseExportName(std::string_view function) {
  DllExportName result;
  if (function.empty() || function.front() != '#') {
    result.name = std::string(function);
    return result;
  }
  result.byOrdinal = true;
  std::uint32_t value = 0;
  for (char c : function.substr(1)) {
    if (c < '0' || c > '9') break;
    value = (value * 10 + static_cast<std::uint32_t>(c - '0')) % 65536;
  }
  result.ordinal = static_cast<std::uint16_t>(value);
  return result;
}

DllLibraryCandidates LibraryCandidates(std::string_view library, const DllSearchPlaces& places) {
  DllLibraryCandidates result;
  if (library.empty()) {
    result.firstWithExport = true;
    result.files = {"Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll"};
    return result;
  }
  const std::string name(library);
  // A drive or other qualified path means exactly that file.
  if (library.find(':') != std::string_view::npos) {
    result.files = {name};
    return result;
  }
  if (!places.searchDirectory.empty()) result.files.push_back(places.searchDirectory + name);
  // An empty program directory would turn into the drive's root; never look there.
  if (!places.programDirectory.empty()) result.files.push_back(places.programDirectory + "\\" + name);
  if (!places.moduleDirectory.empty()) result.files.push_back(places.moduleDirectory + name);
  result.files.push_back(name);
  return result;
}

std::string DllBindFailureText(std::string_view library, std::string_view function) {
  std::string text;
  if (library.empty()) {
    text = "无法找到指定DLL库文件中的输出命令“";
  } else {
    text = "无法找到指定DLL库文件“";
    text += library;
    text += "”中的输出命令“";
  }
  text += function;
  text += "”";
  return text;
}

std::string WithTrailingBackslash(std::string directory) {
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  return directory;
}

}  // namespace runtime
