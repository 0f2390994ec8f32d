#include "runtime/process_heap_win.h"

#include <windows.h>

namespace runtime {
namespace {

class WindowsHeap final : public ProcessHeap {
 public:
  void* Allocate(std::size_t bytes) override { return HeapAlloc(GetProcessHeap(), 0, bytes); }
  void* Reallocate(void* block, std::size_t bytes) override {
    if (!block) return Allocate(bytes);
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes);
  }
  void Free(void* block) override {
    if (block) HeapFree(GetProcessHeap(), 0, block);
  }
};

}  // namespace

ProcessHeap& WindowsProcessHeap() {
  static WindowsHeap heap;
  return heap;
}

}  // namespace runtime
