// The board's main window with the hotkey dialog opened modally over it, for a look at both:
// the board's own handlers do not open the dialog yet, so a timer started at Created does.
// Then Esc is pressed through the input queue, once for the dialog and once for the board, as a
// keyboard would (the bare test display has no window manager to give X's keyboard to a dialog).
#include <windows.h>

#include <array>
#include <cstdint>

#include "forms/carried_resource.h"
#include "forms/forms_runtime_win.h"
#include "runtime/pictures/control_picture_win.h"
#include "runtime/program_start.h"

namespace {

constexpr std::uint32_t kMainWindow = 0x52010001;
constexpr std::uint32_t kHotkeyDialog = 0x52010D88;

constexpr UINT kPressDelayMs = 3000;

void PressEscape() {
  INPUT inputs[2]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_ESCAPE;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void CALLBACK PressEscapeOnce(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PressEscape();
}

void CALLBACK OpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  SetTimer(nullptr, 0, kPressDelayMs, &PressEscapeOnce);
  forms::FormsRuntime::Instance().LoadWindow(kHotkeyDialog, kMainWindow, true);
  SetTimer(nullptr, 0, kPressDelayMs, &PressEscapeOnce);
}

forms::HandlerReturn MainCreated(std::span<const std::int32_t>) {
  SetTimer(nullptr, 0, 300, &OpenDialog);
  return forms::NoResult();
}

constexpr std::array<forms::EventHandler, 18> MakeTable() {
  std::array<forms::EventHandler, 18> table{};
  table[1] = &MainCreated;  // main_created
  return table;
}
constexpr auto kHandlers = MakeTable();

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  runtime::RuntimeApp& app = runtime::RuntimeApp::Instance();
  forms::FormsRuntime::Instance().Install(app, kHandlers);
  pictures::InstallPictureDecoder();
  runtime::ProgramDescriptor descriptor;
  descriptor.codeBase = reinterpret_cast<std::uintptr_t>(kHandlers.data());
  descriptor.windowResource = std::as_bytes(forms::CarriedWindowResource());
  const runtime::ProgramParts parts;
  return runtime::RunProcess([&] { return runtime::ProgramStartRoutine(descriptor, parts); });
}
