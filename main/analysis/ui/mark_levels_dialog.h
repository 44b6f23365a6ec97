#pragma once

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "main/analysis/level_scheme.h"
#include "main/document/grade_table.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace scorvane {

class AnalysisOptionsPanel;
class DialogRunner;
class TextGrid;

inline constexpr std::string_view kMarkLevelsCaption = "成绩等级";

// What 成绩等级 makes: the students' levels, the distribution, or both.
struct MarkLevelsTables {
    std::optional<GradeTable> levels;
    std::optional<GradeTable> distribution;
};

// "成绩等级": the marks of the ticked fields of the open table as levels. The fields are ticked as 成绩统计
// ticks them, with their full marks as it keeps them; 等级方案(&S) offers the ready schemes (优秀/良好/合格/
// 待合格 and A–E) and 自定义, the grid below holds the scheme's levels and lower bounds (a percentage of
// the full marks) and may be edited. The scheme used is remembered. 确定 checks what was typed (a fault
// is told and the window stays), asks before marks above their full marks are used, and makes the
// tables ticked: 各学生的等级(&T) and 等级分布(&D).
class MarkLevelsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kSchemeRows = 8;

    MarkLevelsDialog(const GradeTable& table, Prompter& prompter, QWidget* parent = nullptr);

    AnalysisOptionsPanel* options() const { return options_; }
    QComboBox* schemeBox() const { return schemeBox_; }
    TextGrid* schemeGrid() const { return schemeGrid_; }
    QCheckBox* levelsBox() const { return levelsBox_; }
    QCheckBox* distributionBox() const { return distributionBox_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // After 确定.
    MarkLevelsTables& result() { return result_; }

  private:
    void schemeChosen();
    void schemeEdited();
    void showScheme(const LevelScheme& scheme);
    void compute();

    const GradeTable& table_;
    Prompter& prompter_;
    AnalysisOptionsPanel* options_;
    QComboBox* schemeBox_;
    TextGrid* schemeGrid_;
    QCheckBox* levelsBox_;
    QCheckBox* distributionBox_;
    QPushButton* ok_;
    QPushButton* cancel_;
    MarkLevelsTables result_;
};

// The window on the open table, modal, owned by `owner`; the tables made when it was closed with 确定.
MarkLevelsTables RunMarkLevelsDialog(const GradeTable& table, Prompter& prompter, DialogRunner& runner,
                                     QWidget* owner);

}  // namespace scorvane
