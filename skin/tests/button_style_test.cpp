#include "skin/button_styles.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

struct StyleCase {
  std::int64_t style;
  bool push, radio, checkBox;
};

// Every button type, plus alignment and window bits that must not change the answer.
TEST(ButtonStyles, EachTypeGoesToOneLookOrNone) {
  const StyleCase cases[] = {
      {0x0, true, false, false},          // push button
      {0x1, true, false, false},          // default push button
      {0x8, true, false, false},          // type 8
      {0x2, false, false, true},          // check box
      {0x3, false, false, true},          // auto check box
      {0xA, false, false, true},          // push box
      {0x9, false, true, false},          // auto radio button
      {0x4, false, false, false},         // radio button (not auto)
      {0x5, false, false, false},         // three-state
      {0x6, false, false, false},         // auto three-state
      {0x7, false, false, false},         // group box: a panel, not a button
      {0xB, false, false, false},         // already owner-drawn
      {0xC, false, false, false},         // user button
      {0x50010300, true, false, false},   // visible centred push button
      {0x50010003, false, false, true},   // visible auto check box
      {0x5001000B, false, false, false},  // visible owner-drawn
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(IsSkinnablePushButton(c.style), c.push);
    EXPECT_EQ(IsSkinnableRadio(c.style), c.radio);
    EXPECT_EQ(IsSkinnableCheckBox(c.style), c.checkBox);
  }
}

}  // namespace
}  // namespace skin
