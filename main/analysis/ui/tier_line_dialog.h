#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main/analysis/grade_tables.h"
#include "main/analysis/line_grade.h"
#include "main/analysis/ui/analysis_dialog.h"

class QComboBox;
class QGridLayout;

namespace scorvane {

class AnalysisOptionsPanel;
class TierLineGrid;

// What the line windows (上线分析, 临界生) share: the table box (the tables the classes hold, most held
// first), the total (the fields of marks, 总分 as 年级排名 chooses it), the lines (TierLineGrid: those
// remembered for the grade, or the first time one line 一本 by count, 15 % of the students taking part,
// which follows the table and the total until the teacher types into the grid) and, beside them, the
// subjects (ticked at first: those not computed from other fields).
class TierLineDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    QComboBox* tableBox() const { return tableBox_; }
    QComboBox* totalBox() const { return totalBox_; }
    TierLineGrid* lineGrid() const { return lines_; }
    AnalysisOptionsPanel* subjects() const { return subjects_; }

  protected:
    TierLineDialog(const char* objectName, std::string_view caption, const QString& explanation, std::string grade,
                   std::vector<GradeClass> classes, Prompter& prompter, QWidget* parent);
    // Lays the shared choices out with the window's own below the lines (`own`, its controls `ownControls`
    // in reading order), and sets the Tab order: the table, the total, the lines, the window's own, the
    // subjects, 确定, 取消.
    void layOut(QLayout* own, const QList<QWidget*>& ownControls);

    // What 确定 reads: the tables as they are now, and the choice. The lines are checked against the
    // totals first, then the totals question is asked (ConfirmComparableTotals, 平均 offered); a refusal
    // (empty when the teacher cancelled the question) when the analysis cannot go on.
    std::optional<AnalysisResult> readChoice(std::vector<ClassTable>& tables, LineChoice& choice);
    // Keeps the grid's lines for the grade once a result was made.
    void rememberLines();

    const std::string& grade() const { return grade_; }
    const std::string& gradeFolder() const { return gradeFolder_; }
    std::string chosenTable() const;

  private:
    void tableChosen();
    void offerDefaultLine();

    std::string grade_;
    std::vector<GradeClass> classes_;
    std::string gradeFolder_;
    std::vector<ClassTable> tables_;  // read when the table was chosen
    QComboBox* tableBox_;
    QComboBox* totalBox_;
    TierLineGrid* lines_;
    AnalysisOptionsPanel* subjects_;
    // The grid shows the line offered the first time, not yet changed by the teacher.
    bool offered_ = false;
};

}  // namespace scorvane
