#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "main/analysis/grade_tables.h"
#include "main/analysis/ui/analysis_dialog.h"

class QComboBox;
class QLineEdit;

namespace scorvane {

class AnalysisOptionsPanel;

inline constexpr std::string_view kTeachingEvaluationCaption = "教学评价";
inline constexpr std::string_view kNoEarlierExam = "（不与前次比较）";

// "教学评价": each subject's classes and teachers in one exam against the whole grade. The table box
// offers the tables the classes hold (the one 年级排名 chooses first); the subjects come ticked, with
// their full marks and the three lines as 成绩统计 keeps them; the earlier exam is one of the grade's
// other exams in exam order (the one just before the chosen one at first) or none; the weights of
// 综合得分 are remembered. 确定 reads the tables again and gives two tables: 教学评价 and, when the
// grade's 任课表 names teachers, 教师汇总.
class TeachingEvaluationDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    TeachingEvaluationDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                             QWidget* parent = nullptr);

    QComboBox* tableBox() const { return tableBox_; }
    QComboBox* earlierBox() const { return earlierBox_; }
    AnalysisOptionsPanel* options() const { return options_; }
    // 平均分, 优秀率, 及格率 and 低分率's weights.
    const std::array<QLineEdit*, 4>& weightBoxes() const { return weights_; }
    // After 确定: the 教师汇总, when there is one.
    std::optional<GradeTable>& teacherSummary() { return teacherSummary_; }

  private:
    void tableChosen();
    std::string chosenTable() const;
    AnalysisResult compute() override;

    std::string grade_;
    std::vector<GradeClass> classes_;
    QComboBox* tableBox_;
    QComboBox* earlierBox_;
    AnalysisOptionsPanel* options_;
    std::array<QLineEdit*, 4> weights_{};
    std::optional<GradeTable> teacherSummary_;
};

// What the window gave: 教学评价 and, when there is one, 教师汇总.
struct TeachingEvaluationTables {
    GradeTable byClass;
    std::optional<GradeTable> byTeacher;
};

// The evaluation of a grade node of the school tree: "本年级的班级中还没有表格！" when its classes hold no
// table, otherwise the window, modal, owned by `owner`; its tables when it was closed with 确定.
std::optional<TeachingEvaluationTables> RunTeachingEvaluationDialog(const SchoolTree& tree,
                                                                    const SchoolNode& grade,
                                                                    Prompter& prompter, DialogRunner& runner,
                                                                    QWidget* owner);

}  // namespace scorvane
