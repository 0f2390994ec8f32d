#include "runtime/services/dialogs_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/services/dialog_values.h"
#include "runtime/services/service_rules.h"

namespace services {

int ShowMessageBox(const std::string& message, unsigned flags, const std::string& caption) {
  return MessageBoxAnswer(MessageBoxA(nullptr, message.c_str(), caption.c_str(), MessageBoxFlags(flags)));
}

int ShowMessageBox(const runtime::ValueCell& message, unsigned flags, const std::string& caption) {
  return ShowMessageBox(MessageText(message), flags, caption);
}

}  // namespace services

namespace services {
namespace {

// An in-memory dialog template: header, then items, each on a 4-byte boundary.
class DialogTemplate {
 public:
  DialogTemplate(short width, short height, int items) {
    Put32(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    Put32(0);
    words_.push_back(static_cast<WORD>(items));
    for (short v : {short(0), short(0), width, height}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // menu
    words_.push_back(0);  // class
    PutText("请输入：");
    words_.push_back(9);
    PutText("宋体");
  }
  void Item(const char* window_class, const char* text, DWORD style, short x, short y, short w, short h, int id) {
    if (words_.size() % 2) words_.push_back(0);
    Put32(style | WS_CHILD);
    Put32(0);
    for (short v : {x, y, w, h}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(static_cast<WORD>(id));
    PutText(window_class);
    PutText(text);
    words_.push_back(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put32(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void PutText(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    const std::size_t at = words_.size();
    words_.resize(at + n);
    MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(words_.data() + at), n);
  }
  std::vector<WORD> words_;
};

struct InputBoxState {
  const std::string* prompt;
  const std::string* title;
  const std::string* initial;
  int mode;
  WNDPROC edit_procedure = nullptr;
  std::string result;
};

LRESULT CALLBACK FilteredEdit(HWND edit, UINT message, WPARAM w, LPARAM l) {
  auto* state = reinterpret_cast<InputBoxState*>(GetPropA(edit, "sb_input"));
  if (message == WM_CHAR && !InputCharAllowed(state->mode, static_cast<unsigned>(w))) return 0;
  return CallWindowProcA(state->edit_procedure, edit, message, w, l);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<InputBoxState*>(l);
      SetWindowLongPtrA(dialog, DWLP_USER, l);
      if (!state->title->empty()) SetWindowTextA(dialog, state->title->c_str());
      SetDlgItemTextA(dialog, kInputPromptId, state->prompt->c_str());
      const int shown = state->mode == 4 ? kInputHiddenEditId : kInputPlainEditId;
      ShowWindow(GetDlgItem(dialog, shown == kInputPlainEditId ? kInputHiddenEditId : kInputPlainEditId), SW_HIDE);
      const HWND edit = GetDlgItem(dialog, shown);
      SetWindowTextA(edit, state->initial->c_str());
      SetPropA(edit, "sb_input", state);
      state->edit_procedure =
          reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FilteredEdit)));
      SetFocus(edit);
      SendMessageA(edit, EM_SETSEL, 0, -1);
      return FALSE;  // focus set here
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK) {
        const HWND edit = GetDlgItem(dialog, state->mode == 4 ? kInputHiddenEditId : kInputPlainEditId);
        std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
        state->result = std::move(text);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      for (int id : {kInputPlainEditId, kInputHiddenEditId}) {
        const HWND edit = GetDlgItem(dialog, id);
        if (state && state->edit_procedure && GetPropA(edit, "sb_input")) {
          SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->edit_procedure));
          RemovePropA(edit, "sb_input");
        }
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial, int mode) {
  InputBoxState state{&prompt, &title, &initial, std::clamp(mode, 1, 4)};
  const DWORD edit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_VISIBLE;
  const DWORD button = WS_TABSTOP | WS_VISIBLE;
  const bool framed = !prompt.empty();
  DialogTemplate dialog(framed ? 252 : 214, framed ? 92 : 56, framed ? 6 : 4);
  if (framed) {
    dialog.Item("STATIC", "", SS_SUNKEN | WS_VISIBLE, 7, 7, 238, 35, -1);
    dialog.Item("STATIC", "", SS_LEFT | WS_VISIBLE, 12, 11, 229, 27, kInputPromptId);
    dialog.Item("EDIT", "", edit, 7, 45, 238, 12, kInputPlainEditId);
    dialog.Item("EDIT", "", edit | ES_PASSWORD, 7, 45, 238, 12, kInputHiddenEditId);
    dialog.Item("BUTTON", "确认输入(&O)", button | BS_DEFPUSHBUTTON, 63, 66, 55, 19, IDOK);
    dialog.Item("BUTTON", "取消(&C)", button, 134, 66, 55, 19, IDCANCEL);
  } else {
    dialog.Item("EDIT", "", edit, 7, 7, 200, 12, kInputPlainEditId);
    dialog.Item("EDIT", "", edit | ES_PASSWORD, 7, 7, 200, 12, kInputHiddenEditId);
    dialog.Item("BUTTON", "确认输入(&O)", button | BS_DEFPUSHBUTTON, 82, 30, 55, 19, IDOK);
    dialog.Item("BUTTON", "取消(&C)", button, 151, 30, 55, 19, IDCANCEL);
  }
  // Owned by the window the user works in, which stays disabled while the box is open: a
  // second click behind it would otherwise open a second box.
  const INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), GetActiveWindow(),
                                                 &InputBoxProcedure, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return state.result;
}

bool ShowInputBox(const std::string& prompt, const std::string& title, const std::string& initial,
                  const runtime::ValueCell& output, int mode) {
  const auto text = ShowInputBox(prompt, title, initial, mode);
  if (!text) return false;
  StoreInput(*text, output);
  return true;
}

}  // namespace services
