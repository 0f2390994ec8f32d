#include "runtime/values/date_time.h"

#include <gtest/gtest.h>

namespace runtime {
namespace {

TEST(JoinDateTime, CalendarFieldsToDaysSince1899AndBack) {
  struct Case { CivilTime time; double date; };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1900, 1, 1, 6, 0, 0}, 2.25},
      {{2000, 2, 29, 12, 0, 0}, 36585.5},
      {{2026, 12, 10, 18, 30, 15}, 46366.0 + (18 * 3600 + 30 * 60 + 15) / 86400.0},
      {{1899, 12, 29, 6, 0, 0}, -1.25},  // before the epoch the time of day still runs forward
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(JoinDateTime(c.time), c.date) << c.time.year << "-" << c.time.month << "-" << c.time.day;
    const CivilTime back = SplitDateTime(c.date);
    EXPECT_EQ(back.year, c.time.year);
    EXPECT_EQ(back.month, c.time.month);
    EXPECT_EQ(back.day, c.time.day);
    EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second,
              c.time.hour * 3600 + c.time.minute * 60 + c.time.second);
  }
  EXPECT_EQ(JoinDateTime({12000, 1, 1, 0, 0, 0}), kLatestDateTime);
}

}  // namespace
}  // namespace runtime
