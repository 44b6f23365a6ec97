#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "main/analysis/grade_tables.h"

class QComboBox;
class QPushButton;

namespace scorvane {

class AnalysisOptionsPanel;
class DialogRunner;

inline constexpr std::string_view kGradeComparisonCaption = "年级成绩对比";
inline constexpr std::string_view kGradeHoldsNoTablesMessage = "本年级的班级中还没有表格！";

// "年级成绩对比": the classes of a grade compared in one exam. The table box offers the names of the
// tables the classes hold; choosing one reads every class's table of that name and offers their
// fields. 确定 checks what was typed (a fault is told and the window stays), names the classes left out,
// computes and closes.
class GradeComparisonDialog : public QDialog {
    Q_OBJECT
  public:
    GradeComparisonDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                          QWidget* parent = nullptr);

    QComboBox* tableBox() const { return tableBox_; }
    AnalysisOptionsPanel* options() const { return options_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // The classes with the chosen table (read when it was chosen).
    const std::vector<ClassTable>& classTables() const { return tables_; }
    // After 确定: the comparison table.
    std::optional<GradeTable>& result() { return result_; }

  private:
    void tableChosen();
    void compute();

    std::string grade_;
    std::vector<GradeClass> classes_;
    Prompter& prompter_;
    std::vector<ClassTable> tables_;
    QComboBox* tableBox_;
    AnalysisOptionsPanel* options_;
    QPushButton* ok_;
    QPushButton* cancel_;
    std::optional<GradeTable> result_;
};

// The classes of a grade node of the school tree, each with its class folder; nothing, after the message
// "本年级的班级中还没有表格！", when they hold no table.
std::optional<std::vector<GradeClass>> GradeClassesWithTables(const SchoolTree& tree, const SchoolNode& grade,
                                                              Prompter& prompter);

// The comparison of a grade node of the school tree: "本年级的班级中还没有表格！" when its classes hold no
// table, otherwise the window, modal, owned by `owner`; the comparison table when it was closed with 确定.
std::optional<GradeTable> RunGradeComparisonDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                   Prompter& prompter, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
