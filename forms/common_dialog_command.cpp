#include "forms/common_dialog_command.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "forms/file_dialog_filter.h"
#include "forms/forms_runtime_win.h"
#include "forms/kinds.h"
#include "runtime/values/text_value.h"

namespace forms {
namespace {

// Properties of the common-dialog kind.
constexpr int kDialogType = 8;
constexpr int kTitle = 9;
constexpr int kFileName = 10;
constexpr int kFilter = 11;
constexpr int kFilterIndex = 12;
constexpr int kInitialDirectory = 13;
constexpr int kDefaultExtension = 14;

// The bool properties 15..19 and the flags they add.
constexpr struct {
  int property;
  DWORD flag;
} kFlagProperties[] = {
    {15, OFN_CREATEPROMPT}, {16, OFN_FILEMUSTEXIST}, {17, OFN_OVERWRITEPROMPT},
    {18, OFN_PATHMUSTEXIST}, {19, OFN_NOCHANGEDIR},
};

// Room for any path the dialog gives back without multiple selection.
constexpr std::size_t kPathBuffer = 4096;

class DialogUnit {
 public:
  DialogUnit(WindowId window, UnitId unit) : window_(window), unit_(unit) {}
  std::int32_t Int(int property) const {
    return FormsRuntime::Instance().ReadProperty(window_, unit_, property).cell().AsInteger();
  }
  std::string Text(int property) const {
    return std::string(FormsRuntime::Instance().ReadProperty(window_, unit_, property).text().view());
  }
  void SetText(int property, const char* text) const {
    const runtime::TextValue block{std::string_view(text)};
    FormsRuntime::Instance().WriteProperty(window_, unit_, property, runtime::ValueCell::Text(block.block()));
  }

 private:
  WindowId window_;
  UnitId unit_;
};

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// The stored directory may be relative and use "/" ("data/music"); the dialog wants a full one.
std::string FullDirectory(const std::string& directory) {
  if (directory.empty()) return {};
  char full[kPathBuffer];
  const DWORD length = GetFullPathNameA(directory.c_str(), sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return directory;
  return std::string(full, length);
}

}  // namespace

bool OpenCommonDialog(const runtime::UnitRef& dialog) {
  const auto windowId = static_cast<WindowId>(dialog.window_id);
  const auto unitId = static_cast<UnitId>(dialog.unit_id);
  const UnitRecord* record = ProcessWindowDefinitions().Resource().FindUnit(windowId, unitId);
  FormsRuntime& forms = FormsRuntime::Instance();
  // Its settings live in the loaded window; without it there is nothing to show.
  if (!record || record->kind != kind_ids::kCommonDlg || !forms.IsLoaded(windowId)) return false;

  const DialogUnit unit(windowId, unitId);
  const std::int32_t type = unit.Int(kDialogType);
  if (type != 0 && type != 1) return false;

  const std::string title = unit.Text(kTitle);
  const std::string filter = FileDialogFilter(unit.Text(kFilter));
  const std::string directory = FullDirectory(unit.Text(kInitialDirectory));
  const std::string extension = unit.Text(kDefaultExtension);

  std::vector<char> path(kPathBuffer, '\0');
  const std::string initialName = unit.Text(kFileName);
  initialName.copy(path.data(), path.size() - 1);

  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = forms.WindowHandle(windowId);
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrTitle = OrNull(title);
  request.lpstrInitialDir = OrNull(directory);
  request.lpstrDefExt = OrNull(extension);
  if (!filter.empty()) {
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = FileDialogFilterIndex(unit.Int(kFilterIndex));
  }
  request.Flags = OFN_HIDEREADONLY;
  for (const auto& [property, flag] : kFlagProperties) {
    if (unit.Int(property) != 0) request.Flags |= flag;
  }

  const BOOL confirmed = type == 0 ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
  if (!confirmed) return false;
  unit.SetText(kFileName, path.data());
  return true;
}

}  // namespace forms
