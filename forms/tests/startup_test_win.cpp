// The program's start-up reads the resource it carries: runtime initialisation hands the
// carried bytes to the window definitions, relocated against the handler table.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>

#include "forms/carried_resource.h"
#include "forms/window_definitions.h"
#include "runtime/runtime_app.h"
#include "runtime/values/static_ranges.h"

namespace forms {
namespace {

const int kHandlerTable[18] = {};
const int kEmptyHandler = 0;

TEST(Startup, RuntimeInitialisationReadsTheCarriedResource) {
  const auto carried = CarriedWindowResource();
  runtime::RuntimeApp app;
  runtime::ProgramDescriptor descriptor;
  descriptor.windowResource = std::as_bytes(carried);
  descriptor.codeBase = reinterpret_cast<std::uintptr_t>(kHandlerTable);
  app.Hooks().readWindowResource = [](std::span<const std::byte> resource, std::uintptr_t codeBase) {
    ProcessWindowDefinitions().Read(
        resource, {reinterpret_cast<const void*>(codeBase), sizeof(int), 18, &kEmptyHandler});
    return true;
  };
  app.Initialise(descriptor);

  // The bytes are part of the program's constant data, not a file read at run time.
  EXPECT_TRUE(runtime::ProcessStaticRanges().Contains(carried.data()));

  const WindowResource& resource = ProcessWindowDefinitions().Resource();
  ASSERT_EQ(resource.Windows().size(), 2u);
  const WindowRecord* main = resource.WindowById(runtime::kStartWindowId);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->units.Count(), 263u);
  EXPECT_EQ(resource.WindowById(0x52010D88)->units.Count(), 4u);
  // The main window's close request is the table's first entry.
  const UnitRecord& window = main->units.Record(0);
  ASSERT_EQ(window.events.size(), 2u);
  for (std::size_t e = 0; e < window.events.size(); ++e) {
    if (window.events[e].eventIndex == 1) {
      EXPECT_EQ(main->units.Handlers(0)[e], &kHandlerTable[0]);
    }
  }
  ProcessWindowDefinitions().Free();
  EXPECT_TRUE(ProcessWindowDefinitions().Resource().Windows().empty());
}

}  // namespace
}  // namespace forms
