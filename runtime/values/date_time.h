#pragma once
// Date-times are OLE Automation dates: days since 1899-12-30, the fraction is the time of day.
namespace runtime {

inline constexpr double kEarliestDateTime = -657434.0;  // 100-01-01
inline constexpr double kLatestDateTime = 2958465.0;    // 9999-12-31

// Every store of a date-time goes through this; a NaN becomes 0 so later splits stay defined.
double ClampDateTime(double date);

struct CivilTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The calendar fields of a (clamped) date, rounded to the nearest second.
CivilTime SplitDateTime(double date);
// The date of calendar fields (months 1..12, days of that month), clamped to the range above.
double JoinDateTime(const CivilTime& time);

}  // namespace runtime
