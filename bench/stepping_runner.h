#pragma once

#include <QDialog>
#include <functional>

#include "common/qt/dialog_runner.h"

namespace scorvane::bench {

// A DialogRunner for the windows' benchmarks: shows every dialog and hands it to the step the benchmark
// set, without a nested event loop; the dialog's result is what the step left.
class SteppingRunner : public DialogRunner {
  public:
    std::function<void(QDialog&)> step;
    int run(QDialog& dialog) override {
        dialog.show();
        if (step) {
            step(dialog);
        }
        dialog.hide();
        return dialog.result();
    }
};

}  // namespace scorvane::bench
