#pragma once

#include <cstddef>
#include <span>

#include "forms/unit_list.h"
#include "forms/window_resource.h"

namespace forms {

// The window definitions the runtime reads once at start-up and keeps until the end of the
// process; windows are created from them and unit records are edited in them.
class WindowDefinitions {
 public:
  // Replaces what was read before. Malformed bytes end in the fatal report.
  void Read(std::span<const std::byte> resource, const CodeBase& codeBase);
  void Free() { resource_ = WindowResource(); }

  WindowResource& Resource() { return resource_; }
  const WindowResource& Resource() const { return resource_; }

 private:
  WindowResource resource_;
};

// The process's one set, which the runtime's start-up fills.
WindowDefinitions& ProcessWindowDefinitions();

}  // namespace forms
