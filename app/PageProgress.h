#pragma once
// A run's progress shown on a wizard page: its bar, its percentage label and
// the application's message queue.

#include <string>

#include "app/RunProgress.h"
#include "app/Shell.h"
#include "ui/FormModel.h"

namespace vorpane::app {

class PageProgress final : public RunProgress {
 public:
  PageProgress(ui::FormModel& form, Shell& shell, std::string bar, std::string label)
      : form_(form), shell_(shell), bar_(std::move(bar)), label_(std::move(label)) {}

  void setMaximum(int maximum) override { form_.setMaximum(bar_, maximum); }
  void setPosition(int position) override { form_.setPosition(bar_, position); }
  void setPercent(int percent) override;
  void processMessages() override { shell_.processMessages(); }

 private:
  ui::FormModel& form_;
  Shell& shell_;
  std::string bar_;
  std::string label_;
  int shownPercent_ = -1;
};

}  // namespace vorpane::app
