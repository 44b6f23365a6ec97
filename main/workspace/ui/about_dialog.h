#pragma once

#include <QDialog>

namespace scorvane {

// "关于" (frmAbout): the program's title and version.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    // `versionLine` as the splash shows it ("V 1.1.0000").
    explicit AboutDialog(const QString& versionLine, QWidget* parent = nullptr);
};

}  // namespace scorvane
