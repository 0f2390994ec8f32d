#include "runtime/program_start.h"

#include <float.h>

namespace runtime {

int ProgramStartRoutine(const ProgramDescriptor& descriptor, const ProgramParts& parts) {
  RuntimeApp& app = RuntimeApp::Instance();
  app.Initialise(descriptor);
  _fpreset();
  if (parts.constructObjects) parts.constructObjects();
  app.SetCleanupRoutine(parts.cleanup);
  if (parts.moduleInitialisers) parts.moduleInitialisers();
  app.LoadStartWindow(parts.startWindowId);
  app.RunMessageLoop();
  return 0;
}

int RunProcess(const std::function<int()>& startRoutine) {
  RuntimeApp& app = RuntimeApp::Instance();
  startRoutine();
  const int exitCode = app.Loop().QuitCode();
  app.RunEndSequence(exitCode);
  return exitCode;
}

}  // namespace runtime
