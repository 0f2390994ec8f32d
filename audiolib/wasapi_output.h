#pragma once
// The system's outputs through WASAPI in shared mode, each fed by an event-driven thread.
// Device 1 follows the system's default output. An endpoint that goes away mid-stream does not
// stop time: the streams go on on a clock, as on the silent device, until the same endpoint
// (or, for device 1, a default) can be opened again, which the output does by itself.

#include <memory>

#include "library.h"
#include "system_endpoints.h"

namespace audiolib {

std::unique_ptr<Backend> make_wasapi_backend(std::shared_ptr<SystemEndpoints> endpoints = make_system_endpoints());

} // namespace audiolib
