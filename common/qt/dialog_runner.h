#pragma once

class QDialog;

namespace scorvane {

// Shows the program's modal dialogs. Windows never call QDialog::exec() themselves but hand the dialog
// to their runner, so a test can fill a dialog in and press its buttons without a nested event loop.
class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted or QDialog::Rejected).
    virtual int run(QDialog& dialog);
};

// The runner of the programs: QDialog::exec().
DialogRunner& DefaultDialogRunner();

}  // namespace scorvane
