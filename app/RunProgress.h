#pragma once
// What a run tells whoever shows its progress: the wizard's progress pages, and
// any other driver of the same runs. A run knows no controls; the sink decides
// where the bar, the percentage and the breathing room for the window go. What
// a run changes goes to its setup transaction, not here.

#include <cstdint>
#include <string>

namespace vorpane::app {

class RunProgress {
 public:
  virtual ~RunProgress() = default;
  // The bar's range; the position is clamped into it.
  virtual void setMaximum(int maximum) = 0;
  virtual void setPosition(int position) = 0;
  // The percentage to show as "<percent>% complete".
  virtual void setPercent(int percent) = 0;
  // Lets pending window messages run once, so the window repaints and answers.
  virtual void processMessages() = 0;
  // The run waits for something outside the setup (a program to end); text
  // says what, in place of the percentage, until the wait is over.
  virtual void showWaiting(const std::string& text) = 0;
  virtual void waitOver() = 0;
  // The wait ran out: whether to wait again. Only a person can say so; a run
  // nobody answers gives up.
  virtual bool waitAgain(const std::string& question) = 0;
};

// A run nobody watches: no window, nothing to show.
class SilentProgress final : public RunProgress {
 public:
  void setMaximum(int) override {}
  void setPosition(int) override {}
  void setPercent(int) override {}
  void processMessages() override {}
  void showWaiting(const std::string&) override {}
  void waitOver() override {}
  bool waitAgain(const std::string&) override { return false; }
};

// The percentage a bar shows: position / maximum × 100, rounded to the nearest
// whole number with halves to even, in extended precision. 0 for an empty range.
int PercentOf(std::int64_t position, std::int64_t maximum);

// The bar position of a whole percentage: maximum / 100 × percent, rounded as above.
int PositionAtPercent(int maximum, int percent);

}  // namespace vorpane::app
