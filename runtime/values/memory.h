#pragma once
// The memory service every text, byte set and array block goes through.
//
// Plugging in the process heap: the service allocates from a ProcessHeap. The default is the
// C heap (malloc/realloc/free). The Windows start-up installs the HeapAlloc(GetProcessHeap())
// one from runtime/process_heap_win.h before the first block is made:
//     runtime::InstallProcessHeap(runtime::WindowsProcessHeap());
// Blocks must go back to the heap that made them, so never switch heaps once blocks exist.
//
// Allocation failure is fatal: "分配 %d 字节内存失败!" through ReportError (error_report.h).
// Pointers inside a static range (static_ranges.h) are never freed; reallocating one copies it.
#include <cstddef>
#include <span>

#include "runtime/values/type_tag.h"

namespace runtime {

class ProcessHeap {
 public:
  virtual ~ProcessHeap() = default;
  // All three return null on failure and leave the old block alone then.
  virtual void* Allocate(std::size_t bytes) = 0;
  virtual void* Reallocate(void* block, std::size_t bytes) = 0;
  virtual void Free(void* block) = 0;
};

ProcessHeap& CHeap();
void InstallProcessHeap(ProcessHeap& heap);
ProcessHeap& CurrentProcessHeap();

// Contents are not cleared.
void* Allocate(std::size_t bytes);
// The fatal "分配 %d 字节内存失败!" report, also for blocks too large for their length fields.
[[noreturn]] void ReportAllocationFailure(std::size_t bytes);
void* Reallocate(void* block, std::size_t bytes);
void Free(void* block);

// `array_variable` holds an ArrayBlock pointer. A constant array is copied into the heap
// (members keep pointing at their constant texts, which Free ignores).
void MakeArrayWritable(void** array_variable, std::size_t element_size);
// Flattens the array to one dimension and adds `member` (element_size bytes) at the end.
void AppendMember(void** array_variable, std::size_t element_size, const void* member);
// Null inputs are skipped; a total of 0 bytes gives null.
void* JoinByteSets(std::span<const void* const> byte_sets);

// Writes a value of `kind` into the variable at `variable` from `source_size` raw bytes:
// bools become 0/1, date-times are clamped, texts and byte sets become new blocks (the
// variable's old block is freed first), other kinds take their 1..8 bytes, zero-padded
// when the source is short. Returns how many source bytes were consumed: a text's bytes and
// its zero byte when there was one, all of a byte set, the kind's size otherwise.
std::size_t StoreWithConversion(TypeTag kind, void* variable, const void* source,
                                std::size_t source_size);

}  // namespace runtime
