#pragma once
// Date-time values as the client stores them: days since 1899-12-30 as a double,
// the fraction being the time of day. Before that day the whole part counts
// backwards while the fraction still runs forwards, as the client's runtime has it.

#include <cstdint>

#include "platform/Platform.h"

namespace vorpane::datafile {

// The whole-day number of a calendar date.
std::int64_t DayNumber(int year, int month, int day);

double EncodeDateTime(const platform::LocalDateTime& when);
// The date alone, at midnight.
double EncodeDate(const platform::LocalDateTime& when);
// Back to calendar and clock, to the millisecond.
platform::LocalDateTime DecodeDateTime(double dateTime);

}  // namespace vorpane::datafile
