#include "runtime/values/text_value.h"

#include <cstring>
#include <utility>

#include "runtime/values/memory.h"
#include "runtime/values/static_ranges.h"

namespace runtime {

TextValue::TextValue(std::string_view bytes) {
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  if (bytes.empty()) return;
  block_ = static_cast<char*>(Allocate(bytes.size() + 1));
  std::memcpy(block_, bytes.data(), bytes.size());
  block_[bytes.size()] = '\0';
}

TextValue TextValue::Adopt(char* block) {
  TextValue text;
  // A block holding only the zero byte is still the empty text.
  if (block != nullptr && block[0] == '\0') {
    Free(block);
    block = nullptr;
  }
  text.block_ = block;
  return text;
}

TextValue TextValue::FromConstant(const char* text) {
  if (text != nullptr && text[0] != '\0' && ProcessStaticRanges().Contains(text)) {
    TextValue constant;
    constant.block_ = const_cast<char*>(text);  // never written, never freed
    return constant;
  }
  return TextValue(text);
}

TextValue::TextValue(const TextValue& other) : TextValue(other.view()) {}

TextValue& TextValue::operator=(const TextValue& other) {
  if (this != &other) *this = TextValue(other);
  return *this;
}

TextValue::TextValue(TextValue&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

TextValue& TextValue::operator=(TextValue&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.block_, nullptr));
  return *this;
}

TextValue::~TextValue() { Free(block_); }

char* TextValue::release() { return std::exchange(block_, nullptr); }

void TextValue::Reset(char* block) { Free(std::exchange(block_, block)); }

}  // namespace runtime
