#pragma once

#include <QDialog>

#include "main/document/document.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace scorvane {

// "替换" (frmChang): replaces a text in every data cell of the table at once.
class ReplaceDialog : public QDialog {
    Q_OBJECT
  public:
    // `findText` fills the search box (the current cell's text).
    ReplaceDialog(Document& document, const QString& findText, QWidget* parent = nullptr);

    QLineEdit* findEdit() const { return find_; }
    QLineEdit* replacementEdit() const { return replacement_; }
    QCheckBox* wholeCellCheck() const { return wholeCell_; }
    QPushButton* replaceButton() const { return replace_; }
    // Cells changed by the last "全部替换".
    int replaced() const { return replaced_; }

  private:
    void updateButton();
    void replaceAll();

    Document& document_;
    QLineEdit* find_;
    QLineEdit* replacement_;
    QCheckBox* wholeCell_;
    QPushButton* replace_;
    int replaced_ = 0;
};

}  // namespace scorvane
