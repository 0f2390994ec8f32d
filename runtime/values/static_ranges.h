#pragma once
// Read-only ranges (constant texts, constant byte sets, initial arrays, the empty array) whose
// pointers the memory service never frees: a constant can sit in a variable without a copy.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace runtime {

class StaticRanges {
 public:
  StaticRanges();  // starts with the constant empty array

  void Add(const void* start, std::size_t size);
  // End of the range holding `pointer`, or nothing when it lies in none.
  std::optional<const std::uint8_t*> EndOf(const void* pointer) const;
  bool Contains(const void* pointer) const { return EndOf(pointer).has_value(); }

 private:
  struct Range {
    const std::uint8_t* start;
    const std::uint8_t* end;
  };
  std::vector<Range> ranges_;
};

// The process's list; the runtime's start-up adds the program's constant-data range to it.
StaticRanges& ProcessStaticRanges();

}  // namespace runtime
