#pragma once

#include <optional>

#include "main/analysis/ui/analysis_dialog.h"

namespace scorvane {

class AnalysisOptionsPanel;

inline constexpr std::string_view kStandardScoresCaption = "标准分";

// "标准分": the marks of the ticked fields of the open table on one scale. The fields offered are those
// the statistics offer; those not computed from other fields are ticked.
class StandardScoresDialog : public AnalysisDialog {
    Q_OBJECT
  public:
    StandardScoresDialog(const GradeTable& table, Prompter& prompter, QWidget* parent = nullptr);

    AnalysisOptionsPanel* options() const { return options_; }

  private:
    AnalysisResult compute() override;

    const GradeTable& table_;
    AnalysisOptionsPanel* options_;
};

// The window on the open table, modal, owned by `owner`; the table when it was closed with 确定.
std::optional<GradeTable> RunStandardScoresDialog(const GradeTable& table, Prompter& prompter,
                                                  DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
