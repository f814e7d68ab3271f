#pragma once
// The reals an initial data file can hold, swept for the check that their text
// stays what std::to_chars made of them. The writer stores three kinds, all
// from one clock reading: 0, the whole days Date + 25 and Date - 7, and
// Now - 1 to the millisecond. The system clock reads from 1601 to 30827: the
// sweep takes every millisecond whose Now - 1 lies within 10 s of 0 or of a
// power of ten of either sign (where the text changes its number of digits,
// and near 0 its form), the whole days around them, and 600,000 readings
// spread over the whole range. Shared by the native test and the Windows
// check program.

#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "datafile/DateTime.h"

namespace vorpane::datafile::test {

// What the data file held while std::to_chars wrote its reals: 15 significant
// digits, the exponent as "E15" or "E-5".
inline std::string ToCharsRealText(double value) {
  if (value == 0) return "0";
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos) return std::string(text);
  std::string_view exponent = text.substr(e + 1);
  const bool negative = exponent.front() == '-';
  exponent.remove_prefix(1);
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  return std::string(text.substr(0, e)) + (negative ? "E-" : "E") + std::string(exponent);
}

struct RealSweep {
  std::uint64_t values = 0;
  std::uint64_t exponentForms = 0;  // texts in the "1.5E-7" form
};

class DataFileRealSweep {
 public:
  static constexpr std::int64_t kMillisecondsPerDay = 86400000;
  static constexpr std::int64_t kEdgeMilliseconds = 10000;

  // Calls check(value) for every value of the sweep.
  template <typename Check>
  RealSweep run(Check check) {
    RealSweep sweep;
    auto visit = [&](double value) {
      ++sweep.values;
      if (ToCharsRealText(value).find('E') != std::string::npos) ++sweep.exponentForms;
      check(value);
    };
    for (std::int64_t edge : edgeValues()) {
      // Every millisecond of Now within 10 s of edge + 1, so Now - 1 within 10 s of the edge.
      const std::int64_t middle = (edge + 1) * kMillisecondsPerDay;
      for (std::int64_t now = middle - kEdgeMilliseconds; now <= middle + kEdgeMilliseconds; ++now) {
        readClockAt(now, visit, false);
      }
      for (std::int64_t day = edge - 30; day <= edge + 30; ++day) readWholeDays(day, visit);
    }
    std::mt19937_64 draws(20240501);
    const auto milliseconds = static_cast<std::uint64_t>((lastDay_ - firstDay_ + 1) * kMillisecondsPerDay);
    for (int i = 0; i < 600'000; ++i) {
      const auto now = firstDay_ * kMillisecondsPerDay + static_cast<std::int64_t>(draws() % milliseconds);
      readClockAt(now, visit, i % 8 == 0);
    }
    return sweep;
  }

 private:
  // 0 and the powers of ten either side, as far as the clock reaches: where
  // the values change sign or number of digits, and within 1E-4 of 0 take the
  // exponent form.
  std::vector<std::int64_t> edgeValues() const {
    std::vector<std::int64_t> edges = {0};
    for (std::int64_t power = 1; power <= lastDay_; power *= 10) {
      edges.push_back(power);
      if (-power >= firstDay_) edges.push_back(-power);
    }
    return edges;
  }

  // The clock reading whose Now is `now` milliseconds from the epoch's midnight
  // (a day's fraction counts away from zero before it, as EncodeDateTime has it),
  // and the reals the writer makes of it.
  template <typename Visit>
  void readClockAt(std::int64_t now, Visit& visit, bool withWholeDays) {
    const std::int64_t day = now / kMillisecondsPerDay;
    const std::int64_t ms = (now < 0 ? -now : now) % kMillisecondsPerDay;
    if (now < 0 && day == 0) return;  // no clock reading gives a Now between -1 and 0
    if (day < firstDay_ || day > lastDay_) return;
    platform::LocalDateTime when = DecodeDateTime(static_cast<double>(day));
    when.hour = static_cast<int>(ms / 3600000);
    when.minute = static_cast<int>(ms / 60000 % 60);
    when.second = static_cast<int>(ms / 1000 % 60);
    when.millisecond = static_cast<int>(ms % 1000);
    visit(EncodeDateTime(when) - 1);
    if (withWholeDays) readWholeDays(day, visit);
  }

  template <typename Visit>
  void readWholeDays(std::int64_t day, Visit& visit) {
    if (day < firstDay_ || day > lastDay_) return;
    const double date = EncodeDate(DecodeDateTime(static_cast<double>(day)));
    visit(date + 25);
    visit(date - 7);
  }

  std::int64_t firstDay_ = DayNumber(1601, 1, 1);
  std::int64_t lastDay_ = DayNumber(30827, 12, 31);
};

}  // namespace vorpane::datafile::test
