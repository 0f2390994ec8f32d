#pragma once
// The runtime's dialogs. Texts are GBK bytes.
#include <optional>
#include <string>

#include "runtime/values/value_cell.h"

namespace services {

// No owner; task-modal unless the flags ask for a system-modal box. The answer as
// MessageBoxAnswer maps it.
int ShowMessageBox(const std::string& message, unsigned flags, const std::string& caption = "信息：");
// Any basic value as the message: numbers, bool and date-time as text; other kinds show nothing.
int ShowMessageBox(const runtime::ValueCell& message, unsigned flags, const std::string& caption = "信息：");

// The input box: without a prompt the small template, else the one with a framed prompt line.
// Mode clamped to 1..4 (2 integers, 3 decimals, 4 hidden characters). The confirmed text, or
// nothing on cancel.
std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial, int mode = 1);
// The same box storing the confirmed text into the variable `output` points at (an indirect
// cell), by the variable's kind. True when confirmed; on cancel nothing is stored.
bool ShowInputBox(const std::string& prompt, const std::string& title, const std::string& initial,
                  const runtime::ValueCell& output, int mode = 1);

inline constexpr int kInputPromptId = 100;
inline constexpr int kInputPlainEditId = 101;
inline constexpr int kInputHiddenEditId = 102;

}  // namespace services
