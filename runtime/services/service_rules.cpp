#include "runtime/services/service_rules.h"

#include <algorithm>

namespace services {

std::string_view SkipLeadingBlanks(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && static_cast<unsigned char>(text[at]) <= 0x20) ++at;
  return text.substr(at);
}

std::string LinkFileName(std::string name) {
  if (name.find('.') == std::string::npos) name += ".lnk";
  return name;
}

const char* ShellVerb(int verb) {
  static const char* const kVerbs[] = {"edit", "explore", "find", "open", "print"};
  return verb >= 1 && verb <= 5 ? kVerbs[verb - 1] : nullptr;
}

int ShellShowCommand(int show) {
  // SW_HIDE 0, SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3, SW_SHOWNA 8, SW_MINIMIZE 6.
  static const int kShow[] = {0, 1, 2, 3, 8, 6};
  return show >= 1 && show <= 6 ? kShow[show - 1] : 1;
}

int RunShowCommand(int show) {
  // SW_HIDE 0, SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3, SW_SHOWNOACTIVATE 4, SW_MINIMIZE 6.
  static const int kShow[] = {0, 1, 2, 3, 4, 6};
  return kShow[std::clamp(show, 1, 6) - 1];
}

unsigned MessageBoxFlags(unsigned flags) { return flags & 0x1000 ? flags : flags | 0x2000; }

int MessageBoxAnswer(int pressed) { return pressed >= 1 && pressed <= 7 ? pressed - 1 : 0; }

bool InputCharAllowed(int mode, unsigned c) {
  if (c < 0x20) return true;
  const bool digit_or_minus = (c >= '0' && c <= '9') || c == '-';
  if (mode == 2) return digit_or_minus;
  if (mode == 3) return digit_or_minus || c == '.';
  return true;
}

unsigned HotkeyModifiers(int code) {
  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
  switch (code) {
    case 1: return 2;
    case 2: return 4;
    case 3: return 2 | 4;
    case 4: return 1;
    case 5: return 1 | 2;
    case 6: return 1 | 4;
    default: return static_cast<unsigned>(code);
  }
}

}  // namespace services
