#pragma once

namespace forms {

// Every malformed-resource path ends here: the runtime's fatal report with this text.
inline constexpr char kResourceLoadError[] = "载入窗口模板数据段出错!";

[[noreturn]] void FailResourceLoad();

// Tests replace the last step (which ends the process) with one that throws, so a malformed
// input can be checked without a death test. Returns the previous step.
using FatalStep = void (*)(const char* message);
FatalStep ReplaceFatalStepForTesting(FatalStep step);

}  // namespace forms
