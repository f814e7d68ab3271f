#pragma once
// What a run tells whoever shows its progress: the wizard's progress pages, and
// any other driver of the same runs. A run knows no controls; the sink decides
// where the bar, the percentage and the breathing room for the window go.

#include <cstdint>
#include <exception>
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

  // What the run has put in place, as it happens: for a log or a journal of
  // the installation. isNew tells whether it was made where nothing was, or
  // replaced what was there before. A page has nothing to show of them.
  virtual void directoryCreated(const std::string& /*path*/) {}
  virtual void fileWritten(const std::string& /*path*/, std::uint64_t /*size*/, bool /*isNew*/) {}
  virtual void shortcutCreated(const std::string& /*linkPath*/, const std::string& /*target*/,
                               bool /*isNew*/) {}
  virtual void registryEntryWritten(const std::string& /*key*/, bool /*isNew*/) {}
  // A step the run goes on without, and why.
  virtual void stepSkipped(const std::string& /*what*/, const std::exception& /*error*/) {}
};

// A sink that hands everything on to the next one: the base of the sinks that
// only add something of their own (a log, a journal) to what they pass on.
class ForwardingProgress : public RunProgress {
 public:
  explicit ForwardingProgress(RunProgress& next) : next_(next) {}

  void setMaximum(int maximum) override { next_.setMaximum(maximum); }
  void setPosition(int position) override { next_.setPosition(position); }
  void setPercent(int percent) override { next_.setPercent(percent); }
  void processMessages() override { next_.processMessages(); }
  void directoryCreated(const std::string& path) override { next_.directoryCreated(path); }
  void fileWritten(const std::string& path, std::uint64_t size, bool isNew) override {
    next_.fileWritten(path, size, isNew);
  }
  void shortcutCreated(const std::string& linkPath, const std::string& target, bool isNew) override {
    next_.shortcutCreated(linkPath, target, isNew);
  }
  void registryEntryWritten(const std::string& key, bool isNew) override {
    next_.registryEntryWritten(key, isNew);
  }
  void stepSkipped(const std::string& what, const std::exception& error) override {
    next_.stepSkipped(what, error);
  }

 private:
  RunProgress& next_;
};

// A run nobody watches: no window, nothing to show.
class SilentProgress final : public RunProgress {
 public:
  void setMaximum(int) override {}
  void setPosition(int) override {}
  void setPercent(int) override {}
  void processMessages() override {}
};

// The percentage a bar shows: position / maximum × 100, rounded to the nearest
// whole number with halves to even, in extended precision. 0 for an empty range.
int PercentOf(std::int64_t position, std::int64_t maximum);

// The bar position of a whole percentage: maximum / 100 × percent, rounded as above.
int PositionAtPercent(int maximum, int percent);

}  // namespace vorpane::app
