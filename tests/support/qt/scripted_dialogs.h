#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/qt/dialog_runner.h"

namespace scorvane::testing {

// A DialogRunner for widget tests: every modal dialog is handed to the next queued step, which fills it
// in and presses its buttons while the dialog is open but without a nested event loop. The dialog's
// result is then the answer. A dialog that finds the queue empty fails the test and is rejected.
class ScriptedDialogs : public DialogRunner {
  public:
    using Step = std::function<void(QDialog&)>;

    ScriptedDialogs& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    int run(QDialog& dialog) override;

    // The object names of the dialogs shown, in order.
    const std::vector<std::string>& shown() const { return shown_; }
    bool exhausted() const { return steps_.empty(); }

  private:
    std::deque<Step> steps_;
    std::vector<std::string> shown_;
};

}  // namespace scorvane::testing
