#include "datafile/DateTime.h"

#include <cmath>

namespace vorpane::datafile {

namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t kEpochOffset = daysFromCivil(1899, 12, 30);
constexpr double kMillisecondsPerDay = 86400000.0;

}  // namespace

std::int64_t DayNumber(int year, int month, int day) {
  return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
}

double EncodeDate(const platform::LocalDateTime& when) {
  return static_cast<double>(DayNumber(when.year, when.month, when.day));
}

double EncodeDateTime(const platform::LocalDateTime& when) {
  const double date = EncodeDate(when);
  const double milliseconds =
      ((when.hour * 60.0 + when.minute) * 60.0 + when.second) * 1000.0 + when.millisecond;
  const double time = milliseconds / kMillisecondsPerDay;
  return date < 0 ? date - time : date + time;
}

platform::LocalDateTime DecodeDateTime(double dateTime) {
  const double whole = std::trunc(dateTime);
  auto milliseconds =
      static_cast<std::int64_t>(std::llround(std::fabs(dateTime - whole) * kMillisecondsPerDay));
  auto days = static_cast<std::int64_t>(whole);
  if (milliseconds >= 86400000) {  // rounding reached the next midnight
    milliseconds -= 86400000;
    days += 1;  // the next calendar day either side of the epoch
  }
  platform::LocalDateTime when;
  civilFromDays(days + kEpochOffset, when.year, when.month, when.day);
  when.millisecond = static_cast<int>(milliseconds % 1000);
  when.second = static_cast<int>(milliseconds / 1000 % 60);
  when.minute = static_cast<int>(milliseconds / 60000 % 60);
  when.hour = static_cast<int>(milliseconds / 3600000);
  return when;
}

}  // namespace vorpane::datafile
