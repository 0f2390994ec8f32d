#pragma once
// Shared test helpers: fatal errors end in an exception instead of the process, and a heap
// that counts the blocks it hands out.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "runtime/values/byte_set.h"
#include "runtime/values/memory.h"

namespace runtime::testing {

// Thrown by the test terminal in place of ending the process.
struct ProcessEnded {
  int exit_code;
};

// What the test terminal saw of the last report.
struct LastReport {
  bool box_shown = false;
  std::string message;
  std::string caption;
  int exit_code = 0;
};
LastReport& Reports();

// Runs `body`, expects a fatal report and returns its message box text ("" when the box was
// suppressed); fails the test when `body` came back normally.
std::string FatalMessage(const std::function<void()>& body);

// The message a code-0 report with `text` shows.
std::string TextReport(const std::string& text);

std::vector<std::uint8_t> Bytes(ByteSetRef bytes);

// Counts live blocks; can be told to fail. Installed for the lifetime of the object.
class CountingHeap final : public ProcessHeap {
 public:
  CountingHeap();
  ~CountingHeap() override;
  void* Allocate(std::size_t bytes) override;
  void* Reallocate(void* block, std::size_t bytes) override;
  void Free(void* block) override;

  std::size_t live() const { return live_.size(); }
  int frees() const { return frees_; }
  bool fail = false;

 private:
  std::set<void*> live_;
  int frees_ = 0;
};

}  // namespace runtime::testing
