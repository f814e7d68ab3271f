#include "app/PageProgress.h"

namespace vorpane::app {

namespace {

std::string completeText(int percent) { return std::to_string(percent) + "% complete"; }

}  // namespace

// The percentage changes about a hundred times in a run of thousands of
// chunks: the label's text is made only when it does.
void PageProgress::setPercent(int percent) {
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  waiting_ = false;
  form_.setText(label_, completeText(percent));
}

void PageProgress::showWaiting(const std::string& text) {
  waiting_ = true;
  form_.setText(label_, text);
}

void PageProgress::waitOver() {
  if (!waiting_) return;
  waiting_ = false;
  form_.setText(label_, completeText(shownPercent_ < 0 ? 0 : shownPercent_));
}

bool PageProgress::waitAgain(const std::string& question) {
  return questions_ == Questions::Asked && loop_.askRetry(question);
}

}  // namespace vorpane::app
