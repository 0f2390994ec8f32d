#include "runtime/values/memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/values/byte_set.h"
#include "runtime/values/date_time.h"
#include "runtime/values/error_report.h"
#include "runtime/values/static_ranges.h"
#include "runtime/values/text_value.h"

namespace runtime {
namespace {

class CHeapImpl final : public ProcessHeap {
 public:
  // malloc(0) may give null, which would read as a failure.
  void* Allocate(std::size_t bytes) override { return std::malloc(bytes ? bytes : 1); }
  void* Reallocate(void* block, std::size_t bytes) override {
    return std::realloc(block, bytes ? bytes : 1);
  }
  void Free(void* block) override { std::free(block); }
};

ProcessHeap* installed_heap = nullptr;

std::int32_t ReadInt32(const void* at) {
  std::int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void WriteInt32(void* at, std::int32_t value) { std::memcpy(at, &value, sizeof value); }

// Element count and header size of an ArrayBlock.
struct ArrayShape {
  std::size_t count;
  std::size_t header;
};

ArrayShape ShapeOf(const void* block) {
  const auto* words = static_cast<const std::uint8_t*>(block);
  const std::int32_t dimensions = ReadInt32(words);
  std::size_t count = 1;
  for (std::int32_t i = 0; i < dimensions; ++i) {
    count *= static_cast<std::size_t>(std::max(ReadInt32(words + 4 * (i + 1)), 0));
  }
  return {count, (static_cast<std::size_t>(dimensions) + 1) * 4};
}

}  // namespace

void ReportAllocationFailure(std::size_t bytes) {
  ReportError(0, "分配 " + std::to_string(bytes) + " 字节内存失败!");
}

ProcessHeap& CHeap() {
  static CHeapImpl heap;
  return heap;
}

void InstallProcessHeap(ProcessHeap& heap) { installed_heap = &heap; }

ProcessHeap& CurrentProcessHeap() { return installed_heap ? *installed_heap : CHeap(); }

void* Allocate(std::size_t bytes) {
  void* block = CurrentProcessHeap().Allocate(bytes);
  if (block == nullptr) ReportAllocationFailure(bytes);
  return block;
}

void Free(void* block) {
  if (block == nullptr || ProcessStaticRanges().Contains(block)) return;
  CurrentProcessHeap().Free(block);
}

void* Reallocate(void* block, std::size_t bytes) {
  if (block == nullptr) return Allocate(bytes);
  if (auto end = ProcessStaticRanges().EndOf(block)) {
    void* copy = Allocate(bytes);
    const auto available = static_cast<std::size_t>(*end - static_cast<const std::uint8_t*>(block));
    std::memcpy(copy, block, std::min(bytes, available));
    return copy;
  }
  void* moved = CurrentProcessHeap().Reallocate(block, bytes);
  if (moved == nullptr) ReportAllocationFailure(bytes);
  return moved;
}

void MakeArrayWritable(void** array_variable, std::size_t element_size) {
  void* block = *array_variable;
  if (!ProcessStaticRanges().Contains(block)) return;
  const ArrayShape shape = ShapeOf(block);
  const std::size_t bytes = shape.header + shape.count * element_size;
  void* copy = Allocate(bytes);
  std::memcpy(copy, block, bytes);
  *array_variable = copy;
}

void AppendMember(void** array_variable, std::size_t element_size, const void* member) {
  MakeArrayWritable(array_variable, element_size);
  auto* block = static_cast<std::uint8_t*>(*array_variable);
  const ArrayShape shape = ShapeOf(block);
  const std::size_t old_bytes = shape.header + shape.count * element_size;
  const std::size_t new_bytes = 8 + (shape.count + 1) * element_size;
  // The member count must stay within its int32 field.
  if (shape.count >= 0x7FFFFFFF) ReportAllocationFailure(new_bytes);
  // A dimensionless array has a 4-byte header, so the members move up: grow before moving.
  if (new_bytes > old_bytes) block = static_cast<std::uint8_t*>(Reallocate(block, new_bytes));
  std::memmove(block + 8, block + shape.header, shape.count * element_size);
  WriteInt32(block, 1);
  WriteInt32(block + 4, static_cast<std::int32_t>(shape.count + 1));
  if (new_bytes < old_bytes) block = static_cast<std::uint8_t*>(Reallocate(block, new_bytes));
  std::memcpy(block + 8 + shape.count * element_size, member, element_size);
  *array_variable = block;
}

void* JoinByteSets(std::span<const void* const> byte_sets) {
  std::size_t total = 0;
  for (const void* part : byte_sets) total += ByteSetRef::FromBlock(part).size();
  if (total == 0) return nullptr;
  if (total > 0x7FFFFFFF) ReportAllocationFailure(8 + total);
  auto* block = static_cast<std::uint8_t*>(Allocate(8 + total));
  WriteInt32(block, 1);
  WriteInt32(block + 4, static_cast<std::int32_t>(total));
  std::uint8_t* out = block + 8;
  for (const void* part : byte_sets) {
    const ByteSetRef bytes = ByteSetRef::FromBlock(part);
    if (bytes.size() != 0) std::memcpy(out, bytes.data(), bytes.size());
    out += bytes.size();
  }
  return block;
}

std::size_t StoreWithConversion(TypeTag kind, void* variable, const void* source,
                                std::size_t source_size) {
  const auto* bytes = static_cast<const std::uint8_t*>(source);
  switch (PlainTag(kind)) {
    case tags::Text: {
      const void* zero = source_size ? std::memchr(bytes, 0, source_size) : nullptr;
      const std::size_t length =
          zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes) : source_size;
      TextValue text(std::string_view(reinterpret_cast<const char*>(bytes), length));
      char* old;
      std::memcpy(&old, variable, sizeof old);
      Free(old);
      char* fresh = text.release();
      std::memcpy(variable, &fresh, sizeof fresh);
      return zero ? length + 1 : length;
    }
    case tags::ByteSet: {
      ByteSet set(std::span<const std::uint8_t>(bytes, source_size));
      void* old;
      std::memcpy(&old, variable, sizeof old);
      Free(old);
      void* fresh = set.release();
      std::memcpy(variable, &fresh, sizeof fresh);
      return source_size;
    }
    default:
      break;
  }
  const std::size_t size = KindSize(kind);
  if (size == 0) return 0;
  std::uint8_t value[8] = {};
  const std::size_t taken = std::min(size, source_size);
  if (taken) std::memcpy(value, bytes, taken);
  if (PlainTag(kind) == tags::Bool) {
    const std::int32_t flag = ReadInt32(value) != 0 ? 1 : 0;
    std::memcpy(value, &flag, sizeof flag);
  } else if (PlainTag(kind) == tags::DateTime) {
    double date;
    std::memcpy(&date, value, sizeof date);
    date = ClampDateTime(date);
    std::memcpy(value, &date, sizeof date);
  }
  std::memcpy(variable, value, size);
  return size;
}

}  // namespace runtime
