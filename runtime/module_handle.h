#pragma once
// Owner of one loaded library: FreeLibrary when it goes.
#include <windows.h>

#include <utility>

namespace runtime {

class ModuleHandle {
 public:
  ModuleHandle() = default;
  explicit ModuleHandle(HMODULE module) : module_(module) {}
  ModuleHandle(ModuleHandle&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  ModuleHandle& operator=(ModuleHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.module_, nullptr));
    return *this;
  }
  ModuleHandle(const ModuleHandle&) = delete;
  ModuleHandle& operator=(const ModuleHandle&) = delete;
  ~ModuleHandle() { Reset(); }

  HMODULE Get() const { return module_; }
  explicit operator bool() const { return module_ != nullptr; }
  void Reset(HMODULE module = nullptr) {
    if (module_) FreeLibrary(module_);
    module_ = module;
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace runtime
