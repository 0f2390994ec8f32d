#include "wakeup.h"

namespace audiolib {

void Wakeup::connect(Output* output) {
    std::lock_guard lock(mutex_);
    output_ = output;
}

void Wakeup::notify() {
    std::lock_guard lock(mutex_);
    if (output_) output_->wake();
}

} // namespace audiolib
