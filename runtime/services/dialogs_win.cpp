#include "runtime/services/dialogs_win.h"

#include <windows.h>

#include "runtime/services/service_rules.h"

namespace services {

int ShowMessageBox(const std::string& message, unsigned flags, const std::string& caption) {
  return MessageBoxAnswer(MessageBoxA(nullptr, message.c_str(), caption.c_str(), MessageBoxFlags(flags)));
}

}  // namespace services
