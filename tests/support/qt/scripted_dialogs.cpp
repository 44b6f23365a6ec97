#include "support/qt/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QDialog>

namespace scorvane::testing {

int ScriptedDialogs::run(QDialog& dialog) {
    shown_.push_back(dialog.objectName().toStdString());
    if (steps_.empty()) {
        ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
        dialog.reject();
        return QDialog::Rejected;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    step(dialog);
    dialog.hide();
    return dialog.result();
}

}  // namespace scorvane::testing
