#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/values/array_block.h"
#include "runtime/values/text_commands.h"
#include "test_support.h"

namespace runtime {
namespace {

std::vector<std::string> Members(const Array<TextValue>& array) {
  std::vector<std::string> members;
  for (std::size_t i = 1; i <= array.count(); ++i) {
    members.emplace_back(array.Get(static_cast<std::int32_t>(i)).view());
  }
  return members;
}

TEST(TextCommandsTest, TextLeftAndTextMiddle) {
  EXPECT_EQ(TextLeft("abc", 2).view(), "ab");
  EXPECT_EQ(TextLeft("abc", 9).view(), "abc");
  EXPECT_TRUE(TextLeft("abc", 0).empty());
  EXPECT_TRUE(TextLeft("abc", -1).empty());

  EXPECT_EQ(TextMiddle("abc", 3, 5).view(), "c");
  EXPECT_EQ(TextMiddle("abc", 2, 1).view(), "b");
  EXPECT_TRUE(TextMiddle("abc", 4, 1).empty());
  EXPECT_TRUE(TextMiddle("abc", 0, 2).empty());
  EXPECT_TRUE(TextMiddle("abc", 1, 0).empty());
  EXPECT_EQ(TextMiddle("按钮", 3, 2).view(), "钮");  // positions count bytes
}

TEST(TextCommandsTest, SmallTextMakers) {
  EXPECT_EQ(CharFromCode('A').view(), "A");
  EXPECT_EQ(CharFromCode(0xB0).size(), 1u);
  EXPECT_EQ(CharFromCode(0).block(), nullptr);
  EXPECT_EQ(TextLength("按钮_音效"), 9);
  EXPECT_EQ(TextLength(static_cast<const char*>(nullptr)), 0);
  EXPECT_EQ(Spaces(3).view(), "   ");
  EXPECT_EQ(Spaces(0).block(), nullptr);
  EXPECT_EQ(Spaces(-2).block(), nullptr);
}

TEST(TextCommandsTest, TrimTextDropsBothKindsOfSpaceOnCharacterBoundaries) {
  EXPECT_EQ(TrimText("  a b  ").view(), "a b");
  EXPECT_EQ(TrimText("　 按钮　").view(), "按钮");
  EXPECT_EQ(TrimText("   ").block(), nullptr);
  EXPECT_EQ(TrimText("　").block(), nullptr);
  // "啊" ends in the byte A1: that and a following single A1 are no full-width space.
  EXPECT_EQ(TrimText("啊\xA1").view(), "啊\xA1");
  EXPECT_EQ(TrimText("啊　").view(), "啊");
}

struct FindCase {
  const char* text;
  const char* search;
  std::optional<std::int32_t> start;
  bool ignore_case;
  std::int32_t expected;
};

TEST(TextCommandsTest, FindText) {
  const FindCase cases[] = {
      {"abcabc", "c", {}, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "c", 0, false, 3},
      {"abcabc", "c", 7, false, -1},
      {"abcabc", "bc", 6, false, -1},  // would run past the end
      {"abc", "", {}, false, 1},
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},
      {"", "", {}, false, -1},
      {"", "a", {}, false, -1},
      {"aBC", "bc", {}, false, -1},
      {"aBC", "bc", {}, true, 2},
      {"按钮_音效", "音效", {}, false, 6},
      // "啊" is B0 A1; "\xA1" "b" must not match at its trail byte.
      {"啊b", "\xA1" "b", {}, false, -1},
      {"x啊", "\xA1", {}, false, -1},
      // A lead byte with nothing after it ends the search.
      {"ab\xB0", "\xB0", {}, false, -1},
      // The trail byte 'a' of this character is not a letter to fold.
      {"\x81" "A", "\x81" "a", {}, true, -1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.search);
    EXPECT_EQ(FindText(c.text, c.search, c.start, c.ignore_case), c.expected);
  }
}

TEST(TextCommandsTest, FindTextBackward) {
  const FindCase cases[] = {
      {"abcabc", "c", {}, false, 6},
      {"abcabc", "c", 6, false, 3},  // the match at 6 does not lie before byte 6
      {"abcabc", "c", 7, false, 6},
      {"abcabc", "c", 3, false, -1},
      {"abcabc", "c", 100, false, 6},
      {"abcabc", "bc", 6, false, 2},
      {"abcabc", "", {}, false, 1},
      {"abcabc", "", 1, false, -1},
      {"aBcAbC", "abc", {}, true, 4},
      {"aBcAbC", "abc", {}, false, -1},
      {"啊b啊b", "\xA1" "b", {}, false, -1},
      {"按钮按钮", "按钮", {}, false, 5},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.search);
    EXPECT_EQ(FindTextBackward(c.text, c.search, c.start, c.ignore_case), c.expected);
  }
}

TEST(TextCommandsTest, ReplaceText) {
  // Case is ignored unless asked for.
  EXPECT_EQ(ReplaceText("aXbxc", "x", "-").view(), "a-b-c");
  EXPECT_EQ(ReplaceText("aXbxc", "X", "-").view(), "a-b-c");
  EXPECT_EQ(ReplaceText("aXbxc", "x", "-", {}, {}, true).view(), "aXb-c");
  EXPECT_EQ(ReplaceText("xxxx", "x", "yy", {}, 2).view(), "yyyyxx");
  EXPECT_EQ(ReplaceText("xxxx", "x", "y", 3).view(), "xxyy");
  EXPECT_EQ(ReplaceText("a-b-c", "-").view(), "abc");  // no replacement removes
  EXPECT_EQ(ReplaceText("按钮_音效", "_", "——").view(), "按钮——音效");
  EXPECT_EQ(ReplaceText("abcab", "abc", "X").view(), "Xab");
  EXPECT_EQ(ReplaceText("abab", "ab", "ab!").view(), "ab!ab!");  // the replacement is not searched
  // Never inside a double-byte character.
  EXPECT_EQ(ReplaceText("啊b", "\xA1" "b", "X").view(), "啊b");
}

TEST(TextCommandsTest, ReplaceTextLeavesTheTextWhenThereIsNothingToDo) {
  EXPECT_EQ(ReplaceText("abc", "", "X").view(), "abc");
  EXPECT_EQ(ReplaceText("abc", "c", "X", 4).view(), "abc");
  EXPECT_EQ(ReplaceText("abc", "c", "X", {}, 0).view(), "abc");
  EXPECT_EQ(ReplaceText("", "c", "X").block(), nullptr);
  EXPECT_EQ(ReplaceText("c", "c").block(), nullptr);  // everything replaced away
}

struct SplitCase {
  const char* text;
  const char* separator;
  std::optional<std::int32_t> maximum;
  std::vector<std::string> parts;
};

TEST(TextCommandsTest, SplitText) {
  const SplitCase cases[] = {
      {"a,b,c", ",", {}, {"a", "b", "c"}},
      {"a,b,", ",", {}, {"a", "b"}},  // no empty last member
      {"a,,b", ",", {}, {"a", "", "b"}},
      {",a", ",", {}, {"", "a"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b,c", ",", 3, {"a", "b", "c"}},
      {"a,b,c", ",", -1, {"a", "b", "c"}},
      {"a,b,c", ",", 0, {}},
      {"", ",", {}, {}},
      {"a,b", "", {}, {"a,b"}},
      {"abc", ",", {}, {"abc"}},
      {"a--b--", "--", {}, {"a", "b"}},
      {"按钮，音效", "，", {}, {"按钮", "音效"}},
      // "\xB0" "b" is one character: its trail byte is no separator.
      {"\xB0" "bbx", "b", {}, {"\xB0" "b", "x"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.separator);
    EXPECT_EQ(Members(SplitText(c.text, c.separator, c.maximum)), c.parts);
  }
  EXPECT_EQ(Members(SplitText("x,y")), (std::vector<std::string>{"x", "y"}));  // "," by default
}

TEST(TextCommandsTest, SplitTextGivesAOneDimensionalTextArray) {
  const Array<TextValue> parts = SplitText("a,,b");
  EXPECT_EQ(parts.untyped().sizes(), (std::vector<std::int32_t>{3}));
  EXPECT_EQ(parts.untyped().element_kind(), tags::Text);
  EXPECT_EQ(parts.Get(2).data(), nullptr);  // the empty member is the null text
  const Array<TextValue> none = SplitText("");
  EXPECT_EQ(none.untyped().sizes(), (std::vector<std::int32_t>{0}));
}

}  // namespace
}  // namespace runtime
