#pragma once

#include <QDialog>
#include <string>

#include "main/document/class_info.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace scorvane {

class DialogRunner;

// "班级信息设置：" (frmClassInfo): the number of students, the teacher and the class information.
class ClassInfoDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ClassInfoDialog(const ClassInfoValues& values, QWidget* parent = nullptr);

    // What the boxes hold now.
    QString classSizeText() const;
    std::string teacher() const;
    std::string classInfo() const;

    QLineEdit* classSizeEdit() const { return classSize_; }
    QLineEdit* teacherEdit() const { return teacher_; }
    QPlainTextEdit* classInfoEdit() const { return classInfo_; }
    QPushButton* confirmButton() const { return confirm_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void classSizeEdited(const QString& text);

    QLineEdit* classSize_;
    QLineEdit* teacher_;
    QPlainTextEdit* classInfo_;
    QPushButton* confirm_;
    QPushButton* cancel_;
};

// The dialog's values, kept by the program between its uses.
ClassInfoValues& SharedClassInfo();

// Shows the dialog with the shared values; on "完成" the shared values become the dialog's and are
// applied to the document. True when they were applied.
bool RunClassInfoDialog(Document& document, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
