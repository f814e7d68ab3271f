#pragma once
// What every benchmark here measures with: wall-clock milliseconds of an
// action, and the median of rounds (robust against the odd slow round on a
// shared machine).

#include <algorithm>
#include <chrono>
#include <vector>

namespace vorpane::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <typename Action>
double millisecondsOf(Action action) {
  const auto start = Clock::now();
  action();
  return millisecondsSince(start);
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace vorpane::bench
