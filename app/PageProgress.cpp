#include "app/PageProgress.h"

namespace vorpane::app {

// The percentage changes about a hundred times in a run of thousands of
// chunks: the label's text is made only when it does.
void PageProgress::setPercent(int percent) {
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  form_.setText(label_, std::to_string(percent) + "% complete");
}

}  // namespace vorpane::app
