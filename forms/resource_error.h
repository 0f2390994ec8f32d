#pragma once

namespace forms {

// Every malformed-resource path ends here: the runtime's fatal report with this text.
inline constexpr char kResourceLoadError[] = "载入窗口模板数据段出错!";

[[noreturn]] void FailResourceLoad();

}  // namespace forms
