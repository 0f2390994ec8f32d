#pragma once
// A cell that owns what it points at: used for results whose kind varies (a text result holds
// a block the caller now owns). Indirect cells point at the caller's variables and own nothing.
#include <utility>

#include "runtime/values/byte_set.h"
#include "runtime/values/text_value.h"
#include "runtime/values/value_cell.h"

namespace runtime {

class Value {
 public:
  Value() = default;
  // Takes over the text or byte-set block a result cell carries.
  static Value Adopt(const ValueCell& cell) { return Value(cell); }
  Value(TextValue text) : cell_(ValueCell::Text(text.release())) {}
  Value(ByteSet bytes) : cell_(ValueCell::ByteSet(bytes.release())) {}

  Value(Value&& other) noexcept : cell_(std::exchange(other.cell_, ValueCell{})) {}
  Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      Clear();
      cell_ = std::exchange(other.cell_, ValueCell{});
    }
    return *this;
  }
  Value(const Value&) = delete;
  Value& operator=(const Value&) = delete;
  ~Value() { Clear(); }

  const ValueCell& cell() const { return cell_; }
  TypeTag tag() const { return cell_.tag; }
  // Views of a text or byte-set value; empty for other kinds.
  TextRef text() const {
    return cell_.tag == tags::Text ? TextRef(static_cast<const char*>(cell_.Pointer())) : TextRef();
  }
  ByteSetRef bytes() const {
    return cell_.tag == tags::ByteSet ? ByteSetRef::FromBlock(cell_.Pointer()) : ByteSetRef();
  }
  ValueCell release() { return std::exchange(cell_, ValueCell{}); }

 private:
  explicit Value(const ValueCell& cell) : cell_(cell) {}
  void Clear() {
    if (cell_.tag == tags::Text) TextValue::Adopt(static_cast<char*>(cell_.Pointer()));
    if (cell_.tag == tags::ByteSet) ByteSet::Adopt(cell_.Pointer());
    cell_ = ValueCell{};
  }

  ValueCell cell_;
};

}  // namespace runtime
