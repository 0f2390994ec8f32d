#pragma once
// How the process comes up and goes down around the application's own parts.
//
//   int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
//     return runtime::RunProcess([] { return runtime::ProgramStartRoutine(descriptor, parts); });
//   }
#include <cstdint>
#include <functional>

#include "runtime/runtime_app.h"

namespace runtime {

// The application's side of the start, in the order the start routine runs them.
struct ProgramParts {
  void (*constructObjects)() = nullptr;
  void (*cleanup)() = nullptr;  // destroys what constructObjects made; runs in the end sequence
  void (*moduleInitialisers)() = nullptr;
  std::uint32_t startWindowId = kStartWindowId;
};

// Initialise the runtime, reset the FPU, construct the objects, register the clean-up, run the
// module initialisers, load the start window, run the message loop; 0 after the loop ends.
int ProgramStartRoutine(const ProgramDescriptor& descriptor, const ProgramParts& parts);

// The process's instance initialisation and exit: runs the start routine, then the end sequence;
// the result is the code of the WM_QUIT that ended the loop, for the process to exit with.
int RunProcess(const std::function<int()>& startRoutine);

}  // namespace runtime
