#pragma once
// Fixture files and small hand-made pictures for the picture tests.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pictures::testing {

inline std::vector<std::uint8_t> ReadFixture(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An uncompressed BMP; `rows` are file-order rows already padded, `palette` BGRA entries.
inline std::vector<std::uint8_t> MakeBmp(std::int32_t width, std::int32_t height, int bits,
                                         const std::vector<std::uint8_t>& palette,
                                         const std::vector<std::uint8_t>& rows, std::uint32_t compression = 0) {
  std::vector<std::uint8_t> b(54);
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 10, static_cast<std::uint32_t>(54 + palette.size()), 4);
  Put(b, 14, 40, 4);
  Put(b, 18, static_cast<std::uint32_t>(width), 4);
  Put(b, 22, static_cast<std::uint32_t>(height), 4);
  Put(b, 26, 1, 2);
  Put(b, 28, bits, 2);
  Put(b, 30, compression, 4);
  Put(b, 46, static_cast<std::uint32_t>(palette.size() / 4), 4);
  b.insert(b.end(), palette.begin(), palette.end());
  b.insert(b.end(), rows.begin(), rows.end());
  Put(b, 2, static_cast<std::uint32_t>(b.size()), 4);
  return b;
}

}  // namespace pictures::testing
