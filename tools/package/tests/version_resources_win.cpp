// The version resources of the modules we ship: the product's name and the project's version, in
// the fixed part and in the Simplified Chinese string table, as Explorer's property page reads them.
// The folder is the build's dist folder, or the one in SB_MODULE_FOLDER (an unpacked package).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<wchar_t>(text[i]);
  return wide;
}

std::wstring ModuleFolder() {
  char value[MAX_PATH] = {};
  std::string folder = GetEnvironmentVariableA("SB_MODULE_FOLDER", value, MAX_PATH) > 0 ? value : SB_TEST_DIST_DIR;
  // A path of the build machine, as Wine's drive Z: sees it.
  if (!folder.empty() && folder[0] == '/') folder = "Z:" + folder;
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return Widen(folder);
}

struct VersionInfo {
  std::vector<char> block;

  explicit VersionInfo(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return;
    block.resize(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) block.clear();
  }

  const VS_FIXEDFILEINFO* Fixed() const {
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
      return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  std::wstring Translation() const {
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4)
      return L"(none)";
    const auto* words = static_cast<const WORD*>(value);
    wchar_t text[16];
    swprintf(text, 16, L"%04x%04x", words[0], words[1]);
    return text;
  }

  std::wstring String(const std::wstring& name) const {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = L"\\StringFileInfo\\080404b0\\" + name;
    if (block.empty() || !VerQueryValueW(block.data(), query.c_str(), &value, &length)) return L"(missing)";
    return static_cast<const wchar_t*>(value);
  }
};

struct Module {
  const wchar_t* file;
  DWORD type;
};

TEST(VersionResources, EveryShippedModuleCarriesTheProductAndTheProjectVersion) {
  const std::wstring version = Widen(SB_TEST_VERSION);
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(sscanf(SB_TEST_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);

  for (const Module& module : {Module{L"soundboard.exe", VFT_APP}, Module{L"plugins\\bass.dll", VFT_DLL}}) {
    SCOPED_TRACE(testing::Message() << "module " << std::string(module.file, module.file + wcslen(module.file)));
    const VersionInfo info(ModuleFolder() + L"\\" + module.file);
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr) << "no version resource";
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(minor, major)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, patch)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, module.type);
    EXPECT_EQ(info.Translation(), L"080404b0");
    EXPECT_EQ(info.String(L"ProductName"), L"岚铎声板");
    EXPECT_EQ(info.String(L"ProductVersion"), version);
    EXPECT_EQ(info.String(L"FileVersion"), version);
    EXPECT_EQ(info.String(L"FileDescription").rfind(L"岚铎声板 ", 0), 0u) << "the description names the product";
    const std::wstring file = module.file;
    EXPECT_EQ(info.String(L"OriginalFilename"), file.substr(file.rfind(L'\\') + 1));
  }
}

}  // namespace
