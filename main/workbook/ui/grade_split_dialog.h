#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "common/file_lock.h"
#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/workbook/grade_split.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace scorvane {

class DialogRunner;
struct FieldTemplate;
struct OfferedTemplate;

inline constexpr std::string_view kGradeSplitCaption = "导入全年级成绩";
inline constexpr std::string_view kNoGradeStudentsMessage = "文件中没有学生！";

// "导入全年级成绩" (frmGradeSplit): the class column (default DefaultClassColumn) and the name of the
// tables to make (default OfferedTableName), the field template whose total and average are added
// (ticked when one would add them), and the preview: each class with its number of students and whether
// it holds the table already or has it open elsewhere, then the rows that go to no class; a tick adds the
// classes the school tree lacks. 确定 asks about existing tables once, writes the tables, says what was
// made and closes; a refused choice is told and the window stays.
class GradeSplitDialog : public QDialog {
    Q_OBJECT
  public:
    GradeSplitDialog(SplitGrade grade, GradeSource source, std::string tableName,
                     std::vector<OfferedTemplate> templates, Prompter& prompter, StatusSink& status,
                     LockIdentity identity, QWidget* parent = nullptr);
    ~GradeSplitDialog() override;

    QComboBox* classColumnBox() const { return classColumn_; }
    QLineEdit* nameEdit() const { return name_; }
    QCheckBox* templateCheck() const { return useTemplate_; }
    QComboBox* templateBox() const { return template_; }
    QListWidget* classList() const { return classes_; }
    QCheckBox* addClassesCheck() const { return addClasses_; }
    QLabel* countLabel() const { return count_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // After 确定: what was made.
    const std::optional<SplitReport>& report() const { return report_; }

  private:
    int chosenColumn() const;
    std::string chosenName() const;
    const FieldTemplate* chosenTemplate() const;
    // Matches the rows again and shows the preview.
    void refresh();
    void confirm();

    SplitGrade grade_;
    GradeSource source_;
    std::vector<OfferedTemplate> templates_;
    Prompter& prompter_;
    StatusSink& status_;
    LockIdentity identity_;
    SplitPlan plan_;
    std::optional<SplitReport> report_;

    QComboBox* classColumn_;
    QLineEdit* name_;
    QCheckBox* useTemplate_;
    QComboBox* template_;
    QListWidget* classes_;
    QCheckBox* addClasses_;
    QLabel* count_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The grade node's import: the open dialog (workbooks, comma-separated files, grade tables), a workbook
// through the sheet preview (导入电子表格's window), then the window above, modal, owned by `owner`.
// What was made, or nothing (cancelled, or the file could not be read: its message was shown).
std::optional<SplitReport> RunGradeSplitDialog(const std::string& gradeFolder, Prompter& prompter,
                                               StatusSink& status, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
