#pragma once
// A run's progress shown on a wizard page: its bar, its percentage label and
// the application's message queue.

#include <string>

#include "app/MessageLoop.h"
#include "app/RunProgress.h"
#include "ui/FormModel.h"

namespace vorpane::app {

class PageProgress final : public RunProgress {
 public:
  // Whether a person answers the page's questions: the wizard's, not the
  // unattended /SILENT's, which only shows its progress.
  enum class Questions { Asked, NotAsked };

  PageProgress(ui::FormModel& form, MessageLoop& loop, std::string bar, std::string label,
               Questions questions = Questions::Asked)
      : form_(form), loop_(loop), bar_(std::move(bar)), label_(std::move(label)), questions_(questions) {}

  void setMaximum(int maximum) override { form_.setMaximum(bar_, maximum); }
  void setPosition(int position) override { form_.setPosition(bar_, position); }
  void setPercent(int percent) override;
  void processMessages() override { loop_.processMessages(); }
  void showWaiting(const std::string& text) override;
  void waitOver() override;
  bool waitAgain(const std::string& question) override;

 private:
  ui::FormModel& form_;
  MessageLoop& loop_;
  std::string bar_;
  std::string label_;
  Questions questions_;
  int shownPercent_ = -1;
  bool waiting_ = false;
};

}  // namespace vorpane::app
