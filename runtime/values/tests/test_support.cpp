#include "test_support.h"

#include <cstdlib>

#include "runtime/values/error_report.h"

namespace runtime::testing {
namespace {

class ThrowingTerminal final : public ErrorTerminal {
 public:
  void ShowErrorBox(const char* message, const char* caption) override {
    Reports().box_shown = true;
    Reports().message = message;
    Reports().caption = caption;
  }
  [[noreturn]] void EndProcess(int exit_code) override {
    Reports().exit_code = exit_code;
    throw ProcessEnded{exit_code};
  }
};

// Every test in this program runs with the throwing terminal: a stray fatal error fails the
// test that raised it instead of ending the whole run.
class TerminalEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { InstallErrorTerminal(terminal_); }
  void TearDown() override { RemoveErrorTerminal(); }

 private:
  ThrowingTerminal terminal_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TerminalEnvironment);

}  // namespace

LastReport& Reports() {
  static LastReport report;
  return report;
}

std::string FatalMessage(const std::function<void()>& body) {
  Reports() = {};
  try {
    body();
  } catch (const ProcessEnded& ended) {
    EXPECT_EQ(ended.exit_code, -1);
    return Reports().message;
  }
  ADD_FAILURE() << "expected a fatal error report";
  return {};
}

std::string TextReport(const std::string& text) { return "运行时出错!\r\n\r\n错误信息：" + text + "\r\n"; }

std::vector<std::uint8_t> Bytes(ByteSetRef bytes) { return {bytes.span().begin(), bytes.span().end()}; }

CountingHeap::CountingHeap() { InstallProcessHeap(*this); }

// Blocks it still holds came from malloc as well, so the C heap can take them over.
CountingHeap::~CountingHeap() { InstallProcessHeap(CHeap()); }

void* CountingHeap::Allocate(std::size_t bytes) {
  if (fail) return nullptr;
  void* block = CHeap().Allocate(bytes);
  live_.insert(block);
  return block;
}

void* CountingHeap::Reallocate(void* block, std::size_t bytes) {
  if (fail) return nullptr;
  void* moved = CHeap().Reallocate(block, bytes);
  if (moved) {
    live_.erase(block);
    live_.insert(moved);
  }
  return moved;
}

void CountingHeap::Free(void* block) {
  ++frees_;
  live_.erase(block);
  CHeap().Free(block);
}

}  // namespace runtime::testing
