#pragma once
// The text and number rules of the runtime's platform services, kept apart from the platform
// calls so the host build tests them.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace services {

// Drops leading bytes up to 0x20, as the configuration reader does with its names.
std::string_view SkipLeadingBlanks(std::string_view text);

// ".lnk" appended when the name holds no ".".
std::string LinkFileName(std::string name);

// Verb 1..5 "edit", "explore", "find", "open", "print"; anything else the default verb (null).
const char* ShellVerb(int verb);
// Show 1..6 SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE;
// anything else SW_SHOWNORMAL. Values as the platform numbers them.
int ShellShowCommand(int show);

// A started program's show mode, clamped to 1..6: SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED,
// SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE.
int RunShowCommand(int show);

// MessageBoxA flags: MB_TASKMODAL (0x2000) added unless MB_SYSTEMMODAL (0x1000) is given.
unsigned MessageBoxFlags(unsigned flags);
// The pressed button (IDOK 1 .. IDNO 7) as OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5,
// No 6; any other answer 0.
int MessageBoxAnswer(int pressed);

// Whether the input box of `mode` (clamped to 1..4) takes a typed character: 2 the minus sign
// and digits, 3 those and the full stop, 1 and 4 everything; control characters always pass.
bool InputCharAllowed(int mode, unsigned character);

// Modifier codes 1..6 to MOD_ flags; any other code passes unchanged.
unsigned HotkeyModifiers(int code);

// Hotkey ids 33001 upward; the counter only grows, also for refused registrations. The ids the
// system accepted stay live until released, so releasing an unknown id (the empty tag gives 0, a
// refused or already released id) changes nothing.
class HotkeyIds {
 public:
  static constexpr int kFirst = 33001;
  int Issue() {
    last_ = kFirst + counter_++;
    return last_;
  }
  bool WasIssued(std::uintptr_t id) const { return last_ != 0 && id >= kFirst && id <= static_cast<std::uintptr_t>(last_); }

  void Accepted(int id) { live_.insert(id); }
  // True when the id was live; it no longer is.
  bool Release(int id) { return live_.erase(id) != 0; }
  bool AnyLive() const { return !live_.empty(); }

 private:
  int counter_ = 0;
  int last_ = 0;
  std::set<int> live_;
};

}  // namespace services
