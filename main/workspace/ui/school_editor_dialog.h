#pragma once

#include <QDialog>

#include "main/workspace/school_editor.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace scorvane {

class Prompter;

// "班级编制" (frmClass): the school's name, its grades and each grade's classes, over the SchoolEditor.
// Nothing is written before "完成"; "取消" and the close box ask before dropping changes.
class SchoolEditorDialog : public QDialog {
    Q_OBJECT
  public:
    // `folder` is the workspace folder (ending in "/") whose school file is edited.
    SchoolEditorDialog(Prompter& prompter, const std::string& folder, QWidget* parent = nullptr);

    SchoolEditor& editor() { return editor_; }
    QLineEdit* schoolNameEdit() const { return schoolName_; }
    QListWidget* gradeList() const { return grades_; }
    QListWidget* classList() const { return classes_; }
    QPushButton* button(const char* objectName) const;

    // "取消" and the close box.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showEditor();
    void confirm();

    Prompter& prompter_;
    std::string folder_;
    SchoolEditor editor_;
    QLineEdit* schoolName_;
    QListWidget* grades_;
    QListWidget* classes_;
    bool showing_ = false;
};

}  // namespace scorvane
