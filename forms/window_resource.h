#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "forms/ids.h"
#include "forms/unit_list.h"
#include "forms/unit_record.h"

namespace forms {

// The leading table: ids of the windows in load order (the slot values stored beside them are
// leftovers and are not kept).
struct WindowTable {
  std::vector<WindowId> ids;
};

// One window definition. Values A and B are kept but play no part in loading or addressing.
struct WindowRecord {
  WindowId id = 0;
  std::uint32_t valueA = 0;
  std::uint32_t valueB = 0;
  std::string name;
  std::string comment;
  UnitList units;
};

class WindowResource {
 public:
  // Reads the table and every window record and relocates the handlers. Any malformed input
  // ends in the load failure. Empty input means a program without windows.
  static WindowResource Load(std::span<const std::uint8_t> bytes, const CodeBase& codeBase);

  const WindowTable& Table() const { return table_; }
  std::span<const WindowRecord> Windows() const { return windows_; }
  std::span<WindowRecord> Windows() { return windows_; }

  const WindowRecord* WindowById(WindowId id) const;
  WindowRecord* WindowById(WindowId id);
  const UnitRecord* FindUnit(WindowId window, UnitId unit) const;
  const UnitRecord* UnitAt(WindowId window, std::size_t index) const;

 private:
  WindowTable table_;
  std::vector<WindowRecord> windows_;
};

}  // namespace forms
