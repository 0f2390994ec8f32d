// The board's process entry: the runtime comes up over the carried window resource, loads the
// main window and runs the loop until the last window is gone.
#include <windows.h>

#include <cstdint>

#include "app/board_handlers.h"
#include "app/board_objects.h"
#include "forms/carried_resource.h"
#include "forms/forms_runtime_win.h"
#include "runtime/pictures/control_picture_win.h"
#include "runtime/program_start.h"
#include "runtime/time_marks_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  runtime::marks::Mark("start");
  runtime::RuntimeApp& app = runtime::RuntimeApp::Instance();
  const auto handlers = board::BoardHandlers();
  forms::FormsRuntime::Instance().Install(app, handlers);
  pictures::InstallPictureDecoder();

  runtime::ProgramDescriptor descriptor;
  descriptor.codeBase = reinterpret_cast<std::uintptr_t>(handlers.data());
  descriptor.windowResource = std::as_bytes(forms::CarriedWindowResource());
  runtime::ProgramParts parts;
  parts.constructObjects = &board::ConstructObjects;
  parts.moduleInitialisers = &board::InitialiseModules;
  parts.cleanup = &board::DestroyObjects;
  return runtime::RunProcess([&] { return runtime::ProgramStartRoutine(descriptor, parts); });
}
