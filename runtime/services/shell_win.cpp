#include "runtime/services/shell_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "runtime/dll_command_lookup.h"
#include "runtime/services/service_rules.h"

namespace services {
namespace {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

std::wstring Wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), n);
  return out;
}

}  // namespace

bool CreateShortcut(const std::string& link, const std::string& target,
                    const std::optional<std::string>& description, const std::optional<std::string>& arguments,
                    const std::optional<std::string>& directory) {
  ComPtr<IShellLinkA> shell_link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(shell_link.Out()))))
    return false;
  shell_link->SetPath(target.c_str());
  shell_link->SetShowCmd(SW_SHOW);
  if (description) shell_link->SetDescription(description->c_str());
  if (arguments && directory) {
    shell_link->SetArguments(arguments->c_str());
    shell_link->SetWorkingDirectory(directory->c_str());
  }
  ComPtr<IPersistFile> file;
  if (FAILED(shell_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return false;
  return SUCCEEDED(file->Save(Wide(LinkFileName(link)).c_str(), TRUE));
}

void ShellRun(int verb, const std::string& file, const std::string& parameters, const std::string& directory,
              int show) {
  ShellExecuteA(nullptr, ShellVerb(verb), file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                directory.empty() ? nullptr : directory.c_str(), ShellShowCommand(show));
}

std::string GetSpecialFolder(int folder) {
  static const int kFolders[] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                                 CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA};
  char path[MAX_PATH] = {};
  bool ok = false;
  if (folder >= 1 && folder <= 8) {
    ok = SHGetSpecialFolderPathA(nullptr, path, kFolders[folder - 1], FALSE) != FALSE;
  } else if (folder == 9) {
    ok = GetWindowsDirectoryA(path, MAX_PATH) - 1u < MAX_PATH - 1u;
  } else if (folder == 10) {
    ok = GetSystemDirectoryA(path, MAX_PATH) - 1u < MAX_PATH - 1u;
  } else if (folder == 11) {
    ok = GetTempPathA(MAX_PATH, path) - 1u < MAX_PATH - 1u;
  }
  return ok ? runtime::WithTrailingBackslash(path) : std::string{};
}

void OpenLink(const std::optional<std::string>& address) {
  const HWND owner = FindWindowA(nullptr, "Microsoft Internet Explorer");
  const std::string where = address.value_or("about:blank");
  ShellExecuteA(owner, "open", where.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace services
