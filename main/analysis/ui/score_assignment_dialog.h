#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main/analysis/assignment_bands.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/ui/analysis_dialog.h"

class QComboBox;
class QLabel;

namespace scorvane {

class AnalysisOptionsPanel;

inline constexpr std::string_view kScoreAssignmentCaption = "等级赋分";

// "等级赋分": chosen fields converted by the students' place in the cohort, band by band. For a grade, the
// table box offers the tables its classes hold (the one 年级排名 chooses first) and the cohort is every
// class's table of that name; for a table window, the open table is the cohort. The fields of marks are
// offered, those titled 化学, 生物, 政治 or 地理 ticked. 赋分规则(&B)... edits the band table, which is
// remembered for the next time.
class ScoreAssignmentDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    ScoreAssignmentDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                          DialogRunner& runner, QWidget* parent = nullptr);
    ScoreAssignmentDialog(const GradeTable& table, Prompter& prompter, DialogRunner& runner,
                          QWidget* parent = nullptr);

    // nullptr for one table.
    QComboBox* tableBox() const { return tableBox_; }
    AnalysisOptionsPanel* options() const { return options_; }
    QPushButton* bandsButton() const { return bandsButton_; }
    QLabel* bandsText() const { return bandsText_; }
    const AssignmentBands& bands() const { return bands_; }

  private:
    void build(QComboBox* tableBox);
    void tableChosen();
    void editBands();
    void showBands();
    AnalysisResult compute() override;

    DialogRunner& runner_;
    std::string grade_;
    std::vector<GradeClass> classes_;
    const GradeTable* table_ = nullptr;
    AssignmentBands bands_;
    QComboBox* tableBox_ = nullptr;
    AnalysisOptionsPanel* options_ = nullptr;
    QLabel* bandsText_ = nullptr;
    QPushButton* bandsButton_ = nullptr;
};

// 等级赋分 of a grade node of the school tree: "本年级的班级中还没有表格！" when its classes hold no table,
// otherwise the window, modal, owned by `owner`; the result when it was closed with 确定.
std::optional<GradeTable> RunGradeScoreAssignmentDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                        Prompter& prompter, DialogRunner& runner, QWidget* owner);
// 等级赋分 of the open table alone.
std::optional<GradeTable> RunTableScoreAssignmentDialog(const GradeTable& table, Prompter& prompter,
                                                        DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
