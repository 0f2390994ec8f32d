#pragma once
// The runtime's dialogs. Texts are GBK bytes.
#include <string>

namespace services {

// No owner; task-modal unless the flags ask for a system-modal box. The answer as
// MessageBoxAnswer maps it.
int ShowMessageBox(const std::string& message, unsigned flags, const std::string& caption = "信息：");

}  // namespace services
