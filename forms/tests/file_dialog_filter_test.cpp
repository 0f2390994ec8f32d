#include <gtest/gtest.h>

#include <string>

#include "forms/file_dialog_filter.h"

namespace forms {
namespace {

using namespace std::string_literals;

TEST(FileDialogFilterTest, SeparatorsBecomeNulsAndTheListEndsInTwo) {
  const struct {
    std::string filter;
    std::string list;
  } cases[] = {
      {"", ""},
      {" \t\r\n", ""},
      {"Sounds|*.mp3", "Sounds\0*.mp3\0\0"s},
      {"Sounds|*.mp3|All|*.*  \r\n", "Sounds\0*.mp3\0All\0*.*\0\0"s},
      {"Sounds|*.mp3||", "Sounds\0*.mp3\0\0"s},          // already ends in "||"
      {"Sounds|*.mp3||  ", "Sounds\0*.mp3\0\0"s},        // after the blanks are gone
      {"Sounds|*.mp3|", "Sounds\0*.mp3\0\0\0"s},         // a single "|" still gets both
      {"Sounds|*.mp3|||", "Sounds\0*.mp3\0\0\0"s},
      {"a| b |*.x", "a\0 b \0*.x\0\0"s},                  // inner blanks stay
  };
  for (const auto& c : cases) EXPECT_EQ(FileDialogFilter(c.filter), c.list) << c.filter;
}

TEST(FileDialogFilterTest, ADoubleByteCharacterEndingInTheSeparatorByteStaysWhole) {
  // GBK 0x81 0x7C is one character whose second byte is the code of "|".
  const std::string filter = "\x81|A|*.a";
  EXPECT_EQ(FileDialogFilter(filter), "\x81|A\0*.a\0\0"s);
  // As the last character it does not count as a trailing separator either.
  EXPECT_EQ(FileDialogFilter("A|\x81|"), "A\0\x81|\0\0"s);
  // The board's own filter, GBK text.
  const std::string board = "支持的音效文件(*.mp3;*.wav;*.mid)|*.mp3;*.wav;*.mid|所有文件(*.*)|*.*";
  const std::string list = FileDialogFilter(board);
  EXPECT_EQ(list, "支持的音效文件(*.mp3;*.wav;*.mid)\0*.mp3;*.wav;*.mid\0所有文件(*.*)\0*.*\0\0"s);
}

TEST(FileDialogFilterTest, IndexIsOneBasedAndNegativePicksTheFirst) {
  EXPECT_EQ(FileDialogFilterIndex(0), 1u);
  EXPECT_EQ(FileDialogFilterIndex(2), 3u);
  EXPECT_EQ(FileDialogFilterIndex(-1), 1u);
  EXPECT_EQ(FileDialogFilterIndex(-100), 1u);
}

}  // namespace
}  // namespace forms
