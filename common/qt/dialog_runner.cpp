#include "common/qt/dialog_runner.h"

#include <QDialog>

namespace scorvane {

int DialogRunner::run(QDialog& dialog) {
    return dialog.exec();
}

DialogRunner& DefaultDialogRunner() {
    static DialogRunner runner;
    return runner;
}

}  // namespace scorvane
