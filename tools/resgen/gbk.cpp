#include "tools/resgen/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace resgen {
namespace {

// Owns one conversion descriptor.
class Converter {
 public:
  Converter() : descriptor_(iconv_open("GBK", "UTF-8")) {}
  ~Converter() {
    if (Valid()) iconv_close(descriptor_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return descriptor_; }

 private:
  iconv_t descriptor_;
};

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  Converter converter;
  if (!converter.Valid()) return std::nullopt;
  std::string input(utf8);
  std::vector<char> output(input.size() * 2 + 4);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char* out = output.data();
  std::size_t outLeft = output.size();
  if (iconv(converter.Get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  return std::string(output.data(), static_cast<std::size_t>(out - output.data()));
}

}  // namespace resgen
