#pragma once
// Owner of one GDI+ object of one family. Re-creating or destroying deletes the old object
// first; deleting an empty owner does nothing and reports false.
#include <utility>

#include "draw/status.h"
#include "runtime/dll_command_table.h"

namespace draw {

template <class NativeType, const auto& kDelete>
class NativeObject {
 public:
  NativeObject() = default;
  ~NativeObject() { Delete(); }
  NativeObject(const NativeObject&) = delete;
  NativeObject& operator=(const NativeObject&) = delete;
  NativeObject(NativeObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  NativeObject& operator=(NativeObject&& other) noexcept {
    if (this != &other) {
      Delete();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  NativeType* Native() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  bool Delete() {
    if (!handle_) return false;
    NativeType* old = std::exchange(handle_, nullptr);
    return Record(runtime::CallDll(kDelete, old));
  }

  // Takes over an object made elsewhere (deleting the one held).
  void Reset(NativeType* handle) {
    Delete();
    handle_ = handle;
  }

 protected:
  // Runs a create function whose last argument receives the new object.
  template <class Command, class... Args>
  bool Create(const Command& command, Args&&... args) {
    Delete();
    NativeType* fresh = nullptr;
    const bool ok = Record(runtime::CallDll(command, std::forward<Args>(args)..., &fresh));
    handle_ = ok ? fresh : nullptr;
    return ok;
  }

  // Runs an operation on the held object; an empty owner gives GDI+'s InvalidParameter.
  template <class Command, class... Args>
  bool Call(const Command& command, Args&&... args) const {
    if (!handle_) return Record(2);
    return Record(runtime::CallDll(command, handle_, std::forward<Args>(args)...));
  }

 private:
  NativeType* handle_ = nullptr;
};

}  // namespace draw
