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
  // Whether a person answers the page's questions: the wizard's, not the
  // unattended /SILENT's, which only shows its progress.
  enum class Questions { Asked, NotAsked };

  PageProgress(ui::FormModel& form, Shell& shell, std::string bar, std::string label,
               Questions questions = Questions::Asked)
      : form_(form), shell_(shell), bar_(std::move(bar)), label_(std::move(label)), questions_(questions) {}

  void setMaximum(int maximum) override { form_.setMaximum(bar_, maximum); }
  void setPosition(int position) override { form_.setPosition(bar_, position); }
  void setPercent(int percent) override;
  void processMessages() override { shell_.processMessages(); }
  void showWaiting(const std::string& text) override;
  void waitOver() override;
  bool waitAgain(const std::string& question) override;

 private:
  ui::FormModel& form_;
  Shell& shell_;
  std::string bar_;
  std::string label_;
  Questions questions_;
  int shownPercent_ = -1;
  bool waiting_ = false;
};

}  // namespace vorpane::app
