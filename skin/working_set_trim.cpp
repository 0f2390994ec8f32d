#include "skin/working_set_trim.h"

namespace skin {

WorkingSetTrim::~WorkingSetTrim() { Wait(); }

void WorkingSetTrim::Start() {
  if (running_.exchange(true)) return;
  if (worker_.joinable()) worker_.join();
  worker_ = std::thread([this] {
    // (SIZE_T)-1 for both limits asks the system to page out as much of the set as it can.
    const BOOL ok = SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    if (ok) ++succeeded_;
    ++completed_;
    running_ = false;
  });
}

void WorkingSetTrim::Wait() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace skin
