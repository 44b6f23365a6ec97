#pragma once

#include <optional>

#include "main/analysis/ui/tier_line_dialog.h"

class QCheckBox;

namespace scorvane {

class DialogRunner;

inline constexpr std::string_view kLineAnalysisCaption = "上线分析";

// "上线分析": how many students of each class reach each tier line and how each subject carries them
// (LineAnalysis), or, with 上线名单 ticked, the students reaching a line (LineStudentList). The lines are
// kept for the grade once a result was made.
class LineAnalysisDialog : public TierLineDialog {
    Q_OBJECT
  public:
    LineAnalysisDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                       QWidget* parent = nullptr);

    QCheckBox* listCheck() const { return list_; }

  private:
    AnalysisResult compute() override;

    QCheckBox* list_;
};

// The window on a grade node of the school tree: "本年级的班级中还没有表格！" when its classes hold no
// table, otherwise the window, modal, owned by `owner`; the result when it was closed with 确定.
std::optional<GradeTable> RunLineAnalysisDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                                                DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
