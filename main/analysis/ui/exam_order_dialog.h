#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "common/file_state.h"
#include "common/prompter.h"
#include "main/workspace/school_tree.h"

class QListWidget;
class QPushButton;

namespace scorvane {

class DialogRunner;

inline constexpr std::string_view kExamOrderCaption = "考试顺序";

// "考试顺序": the grade's exams in the order the analyses list them (GradeExamOrder); the teacher moves
// the current one up or down (上移, 下移, or Ctrl+Up and Ctrl+Down in the list) and 确定 keeps the order
// in the grade's order file, for every computer. When another computer saved the order meanwhile, the
// teacher is asked before it is replaced.
class ExamOrderDialog : public QDialog {
    Q_OBJECT
  public:
    ExamOrderDialog(std::string gradeFolder, const std::vector<std::string>& exams, Prompter& prompter,
                    QWidget* parent = nullptr);

    QListWidget* examList() const { return exams_; }
    QPushButton* okButton() const { return ok_; }
    // The exams in the list's order.
    std::vector<std::string> order() const;

  private:
    void save();

    std::string gradeFolder_;
    Prompter& prompter_;
    FileState read_;  // the order file as it was when the window opened
    QListWidget* exams_;
    QPushButton* ok_;
};

// The order of a grade node's exams: kGradeHoldsNoTablesMessage when its classes hold no table, otherwise
// the window, modal, owned by `owner`. True when the order was saved.
bool RunExamOrderDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                        DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
