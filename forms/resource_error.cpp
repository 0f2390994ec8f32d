#include "forms/resource_error.h"

#include <cstdio>
#include <cstdlib>

namespace forms {
namespace {

void EndProcess(const char* message) {
  std::fprintf(stderr, "%s\n", message);
  std::_Exit(-1);
}

FatalStep fatalStep = &EndProcess;

// Stand-in for the runtime's fatal error report until runtime/values provides it; switching
// over is this one function.
[[noreturn]] void ReportFatal(const char* message) {
  fatalStep(message);
  std::abort();  // a replaced step must not return
}

}  // namespace

void FailResourceLoad() { ReportFatal(kResourceLoadError); }

FatalStep ReplaceFatalStepForTesting(FatalStep step) {
  FatalStep previous = fatalStep;
  fatalStep = step ? step : &EndProcess;
  return previous;
}

}  // namespace forms
