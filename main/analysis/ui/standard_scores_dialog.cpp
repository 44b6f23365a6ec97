#include "main/analysis/ui/standard_scores_dialog.h"

#include <QVBoxLayout>

#include "main/analysis/standard_scores.h"
#include "main/analysis/ui/analysis_options_panel.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

StandardScoresDialog::StandardScoresDialog(const GradeTable& table, Prompter& prompter, QWidget* parent)
    : AnalysisDialog("frmStandardScores",
                     qs(kStandardScoresCaption) + QStringLiteral(" - ") + qs(table.title),
                     QStringLiteral("勾选需要换算的字段，按“确定”，各字段的标准分、标准分合计和T分将作为"
                                    "一张新的表格打开。由其他字段算出的字段（如总分、平均分）一般不勾选。"),
                     prompter, parent),
      table_(table) {
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::None, this);
    options_->setFields(StandardScoreFieldChoices(table_), DefaultStandardScoreFields(table_));
    auto* choices = new QVBoxLayout;
    choices->addWidget(options_);
    setChoices(choices, options_->lastControl());
    resize(380, 440);
}

AnalysisResult StandardScoresDialog::compute() {
    return StandardScores(table_, options_->tickedFields());
}

std::optional<GradeTable> RunStandardScoresDialog(const GradeTable& table, Prompter& prompter,
                                                  DialogRunner& runner, QWidget* owner) {
    StandardScoresDialog dialog(table, prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
