#pragma once
// The system's outputs through WASAPI in shared mode, each fed by an event-driven thread.

#include <memory>

#include "library.h"

namespace audiolib {

std::unique_ptr<Backend> make_wasapi_backend();

} // namespace audiolib
