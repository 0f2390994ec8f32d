// libFuzzer target for the window-resource reader: any input must either load or end in the
// resource-load failure, never crash or read outside the data. Loaded resources are walked and
// edited too, since the editor rewrites offsets and sizes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "forms/kind_data.h"
#include "forms/unit_record.h"
#include "forms/window_resource.h"
#include "runtime/values/error_report.h"

namespace {

struct LoadFailed {};

// The fatal report ends in an exception here, so one input's failure does not end the run.
class ThrowingTerminal : public runtime::ErrorTerminal {
 public:
  void ShowErrorBox(const char*, const char*) override {}
  [[noreturn]] void EndProcess(int) override { throw LoadFailed{}; }
};

const long kTable[64] = {};
const long kEmpty = 0;

void Walk(const forms::UnitList& units) {
  for (std::size_t i = 0; i < units.Count(); ++i) {
    const forms::UnitRecord& record = units.Record(i);
    forms::SplitPages(record.children);
    if (!units.IsMenuItem(i)) forms::ReadKindData(record.kind, units.KindData(i));
  }
}

void Exercise(std::span<const std::uint8_t> data) {
  forms::WindowResource resource =
      forms::WindowResource::Load(data, {kTable, sizeof(long), 64, &kEmpty});
  for (auto& window : resource.Windows()) {
    resource.FindUnit(window.id, 0x16010001);
    Walk(window.units);
    forms::ReadWindowKindData(window);
    // Edit every unit, then read the edited list back from its bytes.
    forms::UnitList edited(window.units.Bytes(), static_cast<std::uint32_t>(window.units.Count()));
    for (std::size_t i = 0; i < edited.Count(); ++i) {
      edited.ReplaceTag(i, std::string(i % 7, 'x'));
      const std::uint8_t cursor[3] = {1, 2, 3};
      edited.ReplaceMousePointer(i, cursor);
    }
    forms::UnitList reread(edited.Bytes(), static_cast<std::uint32_t>(edited.Count()));
    Walk(reread);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ThrowingTerminal terminal;
  static bool installed = (runtime::InstallErrorTerminal(terminal), true);
  (void)installed;
  try {
    Exercise({data, size});
  } catch (const LoadFailed&) {
  }
  return 0;
}
