#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main/analysis/grade_tables.h"
#include "main/analysis/ui/analysis_dialog.h"

class QComboBox;

namespace scorvane {

inline constexpr std::string_view kGradeRankingCaption = "年级排名";

// "年级排名": every student of a grade ranked in one exam. The table box offers the tables the classes
// hold, with how many classes hold each, the one most classes hold first; choosing one reads the
// classes' tables and offers their fields, the default one chosen. 确定 reads the tables again, as
// they are now, and ranks.
class GradeRankingDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    GradeRankingDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                       QWidget* parent = nullptr);

    QComboBox* tableBox() const { return tableBox_; }
    QComboBox* fieldBox() const { return fieldBox_; }

  private:
    void tableChosen();
    std::string chosenTable() const;
    AnalysisResult compute() override;

    std::string grade_;
    std::vector<GradeClass> classes_;
    QComboBox* tableBox_;
    QComboBox* fieldBox_;
};

// The ranking of a grade node of the school tree: "本年级的班级中还没有表格！" when its classes hold no
// table, otherwise the window, modal, owned by `owner`; the ranking when it was closed with 确定.
std::optional<GradeTable> RunGradeRankingDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                Prompter& prompter, DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
