#pragma once
// Texts: zero-terminated byte strings in the ANSI code page (GBK here), measured in bytes.
// The empty text is the null block.
#include <cstddef>
#include <string_view>

namespace runtime {

class TextValue;

// A borrowed text argument. Accepts a null block (the empty text), an owner or any bytes.
class TextRef {
 public:
  TextRef() = default;
  TextRef(const char* block) : view_(block ? std::string_view(block) : std::string_view()) {}
  TextRef(std::string_view bytes) : view_(bytes) {}
  TextRef(const TextValue& text);

  std::string_view view() const { return view_; }
  const char* data() const { return view_.data(); }
  std::size_t size() const { return view_.size(); }
  bool empty() const { return view_.empty(); }
  unsigned char operator[](std::size_t i) const { return static_cast<unsigned char>(view_[i]); }

 private:
  std::string_view view_;
};

// Owner of one text block. Copies copy the bytes; assignment frees the old block.
class TextValue {
 public:
  TextValue() = default;
  // Copies the bytes up to the first zero byte; nothing to copy gives the null block.
  explicit TextValue(std::string_view bytes);
  explicit TextValue(const char* text) : TextValue(TextRef(text).view()) {}
  // Takes over a block made by the memory service (or a constant one).
  static TextValue Adopt(char* block);
  // Keeps a pointer into a static range as it is, copies anything else.
  static TextValue FromConstant(const char* text);

  TextValue(const TextValue& other);
  TextValue& operator=(const TextValue& other);
  TextValue(TextValue&& other) noexcept;
  TextValue& operator=(TextValue&& other) noexcept;
  ~TextValue();

  // Null for the empty text.
  const char* block() const { return block_; }
  // Never null: "" for the empty text.
  const char* c_str() const { return block_ ? block_ : ""; }
  std::string_view view() const { return TextRef(block_).view(); }
  std::size_t size() const { return view().size(); }
  bool empty() const { return block_ == nullptr; }

  char* release();
  void Reset(char* block = nullptr);

 private:
  char* block_ = nullptr;
};

inline TextRef::TextRef(const TextValue& text) : view_(text.view()) {}

// Double-byte characters start with a byte of 0x80 or above and take the next byte with them.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Length of the character starting at `position`: 2 for a lead byte with a trail byte after it.
inline std::size_t CharacterLength(std::string_view text, std::size_t position) {
  return IsLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < text.size() ? 2 : 1;
}

}  // namespace runtime
