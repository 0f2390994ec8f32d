#include "runtime/values/date_time.h"

#include <cmath>
#include <cstdint>

namespace runtime {
namespace {

// Days since 1970-01-01 to the proleptic Gregorian calendar (H. Hinnant's civil_from_days).
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
}

// The inverse: days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

constexpr std::int64_t kDaysFrom1899To1970 = 25569;

}  // namespace

double ClampDateTime(double date) {
  if (std::isnan(date)) return 0.0;
  if (date < kEarliestDateTime) return kEarliestDateTime;
  if (date > kLatestDateTime) return kLatestDateTime;
  return date;
}

CivilTime SplitDateTime(double date) {
  date = ClampDateTime(date);
  // Before 1899-12-30 the whole part still counts days back, but the fraction is a time of day
  // forward from that day's midnight: -1.25 is 1899-12-29 06:00.
  std::int64_t days = static_cast<std::int64_t>(std::trunc(date));
  std::int64_t seconds = std::llround(std::fabs(date - static_cast<double>(days)) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++days;  // the time of day always runs forward, also on days before 1899-12-30
  }
  CivilTime time;
  CivilFromDays(days - kDaysFrom1899To1970, time.year, time.month, time.day);
  time.hour = static_cast<int>(seconds / 3600);
  time.minute = static_cast<int>(seconds / 60 % 60);
  time.second = static_cast<int>(seconds % 60);
  return time;
}

double JoinDateTime(const CivilTime& time) {
  const std::int64_t days = DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1899To1970;
  const double fraction = (time.hour * 3600 + time.minute * 60 + time.second) / 86400.0;
  // Days before 1899-12-30 count back, their time of day still forward (see SplitDateTime).
  return ClampDateTime(days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction);
}

}  // namespace runtime
