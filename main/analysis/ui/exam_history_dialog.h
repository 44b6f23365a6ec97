#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main/analysis/grade_tables.h"
#include "main/analysis/ui/analysis_dialog.h"

class QCheckBox;
class QComboBox;
class QListWidget;

namespace scorvane {

inline constexpr std::string_view kExamHistoryCaption = "历次成绩";

// "历次成绩": a class's exams side by side. The class's tables are listed in the grade's exam order, all
// ticked; the teacher unticks some and moves the current one up or down (上移, 下移, or Ctrl+Up and
// Ctrl+Down in the list). The field box offers the tables' fields, the default one chosen; "名次" gives
// each student's rank in each table in place of the value. 确定 reads the ticked tables, as they are
// now, in the list's order.
class ExamHistoryDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    ExamHistoryDialog(GradeClass classFolder, const std::vector<std::string>& tables, Prompter& prompter,
                      QWidget* parent = nullptr);

    QListWidget* tableList() const { return tables_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }
    QComboBox* fieldBox() const { return fieldBox_; }
    QCheckBox* ranksCheck() const { return ranks_; }
    // The ticked tables in the list's order.
    std::vector<std::string> chosenTables() const;

  private:
    AnalysisResult compute() override;

    GradeClass class_;
    QListWidget* tables_;
    QPushButton* up_;
    QPushButton* down_;
    QComboBox* fieldBox_;
    QCheckBox* ranks_;
};

// The course of a class node of the school tree: "本班级还没有表格！" when its folder holds no table,
// otherwise the window, modal, owned by `owner`; the table when it was closed with 确定.
std::optional<GradeTable> RunExamHistoryDialog(const SchoolNode& classNode, Prompter& prompter,
                                               DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
