#include "runtime/services/service_rules.h"

#include <gtest/gtest.h>

namespace services {
namespace {

TEST(ServiceRulesTest, TextRules) {
  EXPECT_EQ(SkipLeadingBlanks(" \t\x01music"), "music");
  EXPECT_EQ(SkipLeadingBlanks("   "), "");
  EXPECT_EQ(SkipLeadingBlanks("a b"), "a b");
  EXPECT_EQ(SkipLeadingBlanks("\xC9\xF9"), "\xC9\xF9");  // GBK lead bytes are above 0x20
  EXPECT_EQ(LinkFileName("C:\\d\\声板"), "C:\\d\\声板.lnk");
  EXPECT_EQ(LinkFileName("C:\\d.x\\board"), "C:\\d.x\\board");  // any "." counts
}

TEST(ServiceRulesTest, ShellAndModifierMappings) {
  EXPECT_STREQ(ShellVerb(1), "edit");
  EXPECT_STREQ(ShellVerb(4), "open");
  EXPECT_STREQ(ShellVerb(5), "print");
  EXPECT_EQ(ShellVerb(0), nullptr);
  EXPECT_EQ(ShellVerb(6), nullptr);
  const int shows[][2] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 8}, {6, 6}, {0, 1}, {7, 1}, {-3, 1}};
  for (const auto& s : shows) EXPECT_EQ(ShellShowCommand(s[0]), s[1]) << s[0];
  // A started program clamps instead: 0 hides it, 7 minimizes it.
  const int runShows[][2] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 6}, {0, 0}, {-3, 0}, {7, 6}};
  for (const auto& s : runShows) EXPECT_EQ(RunShowCommand(s[0]), s[1]) << s[0];
  const unsigned modifiers[][2] = {{1, 2}, {2, 4}, {3, 6}, {4, 1}, {5, 3}, {6, 5}, {0, 0}, {9, 9}};
  for (const auto& m : modifiers) EXPECT_EQ(HotkeyModifiers(static_cast<int>(m[0])), m[1]) << m[0];
}

TEST(ServiceRulesTest, MessageBoxFlagsAndAnswers) {
  EXPECT_EQ(MessageBoxFlags(0x24), 0x2024u);
  EXPECT_EQ(MessageBoxFlags(0x1000), 0x1000u);
  EXPECT_EQ(MessageBoxFlags(0x2000), 0x2000u);
  const int answers[][2] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {0, 0}, {10, 0}, {11, 0}};
  for (const auto& a : answers) EXPECT_EQ(MessageBoxAnswer(a[0]), a[1]) << a[0];
}

TEST(ServiceRulesTest, InputFilters) {
  const struct {
    int mode;
    const char* allowed;
    const char* refused;
  } cases[] = {
      {1, "aZ-.9 \xC9", ""},
      {2, "-0189\b\r", "a.+ e"},
      {3, "-.09\b", "a,+ e"},
      {4, "x.-", ""},
  };
  for (const auto& c : cases) {
    for (const char* p = c.allowed; *p; ++p) EXPECT_TRUE(InputCharAllowed(c.mode, static_cast<unsigned char>(*p))) << c.mode << *p;
    for (const char* p = c.refused; *p; ++p) EXPECT_FALSE(InputCharAllowed(c.mode, static_cast<unsigned char>(*p))) << c.mode << *p;
  }
}

TEST(ServiceRulesTest, HotkeyIdsOnlyGrow) {
  HotkeyIds ids;
  EXPECT_FALSE(ids.WasIssued(33001));
  EXPECT_EQ(ids.Issue(), 33001);
  EXPECT_EQ(ids.Issue(), 33002);
  EXPECT_TRUE(ids.WasIssued(33001));
  EXPECT_TRUE(ids.WasIssued(33002));
  EXPECT_FALSE(ids.WasIssued(33003));
  EXPECT_FALSE(ids.WasIssued(33000));
}

TEST(ServiceRulesTest, OnlyAcceptedHotkeysAreLiveAndEachIsReleasedOnce) {
  HotkeyIds ids;
  const int accepted = ids.Issue();
  const int refused = ids.Issue();
  ids.Accepted(accepted);
  EXPECT_FALSE(ids.Release(0));
  EXPECT_FALSE(ids.Release(refused));
  EXPECT_TRUE(ids.AnyLive());
  EXPECT_TRUE(ids.Release(accepted));
  EXPECT_FALSE(ids.AnyLive());
  EXPECT_FALSE(ids.Release(accepted));
}

}  // namespace
}  // namespace services
