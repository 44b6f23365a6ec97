#include "main/analysis/ui/tier_line_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/choice_box.h"
#include "main/analysis/ui/line_memory.h"
#include "main/analysis/ui/tier_line_grid.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

TierLineDialog::TierLineDialog(const char* objectName, std::string_view caption, const QString& explanation,
                               std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                               QWidget* parent)
    : AnalysisDialog(objectName, qs(caption) + QStringLiteral(" - ") + qs(grade), explanation, prompter, parent),
      grade_(std::move(grade)),
      classes_(std::move(classes)),
      gradeFolder_(GradeFolderOfClasses(classes_)) {
    tableBox_ = new QComboBox(this);
    tableBox_->setObjectName("Combo1");
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes_)) {
        tableBox_->addItem(qs(GradeTableCountText(entry)), qs(entry.name));
    }
    totalBox_ = new QComboBox(this);
    totalBox_->setObjectName("Combo2");
    lines_ = new TierLineGrid(this);
    subjects_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::None, this);

    const std::vector<LineText> remembered = RememberedTierLines(gradeFolder_);
    lines_->setLines(remembered);
    offered_ = remembered.empty();
    connect(lines_, &TierLineGrid::edited, this, [this] { offered_ = false; });
    connect(tableBox_, &QComboBox::currentIndexChanged, this, &TierLineDialog::tableChosen);
    connect(totalBox_, &QComboBox::currentIndexChanged, this, &TierLineDialog::offerDefaultLine);
    tableChosen();
}

void TierLineDialog::layOut(QLayout* own, const QList<QWidget*>& ownControls) {
    auto* left = new QGridLayout;
    auto* tableLabel = new QLabel(QStringLiteral("表格(&T)："), this);
    tableLabel->setBuddy(tableBox_);
    auto* totalLabel = new QLabel(QStringLiteral("总分(&S)："), this);
    totalLabel->setBuddy(totalBox_);
    auto* linesLabel = new QLabel(QStringLiteral("分数线(&L)：（按分数，或按年级前 N 名；至多 5 条）"), this);
    linesLabel->setBuddy(lines_);
    left->addWidget(tableLabel, 0, 0);
    left->addWidget(tableBox_, 0, 1);
    left->addWidget(totalLabel, 1, 0);
    left->addWidget(totalBox_, 1, 1);
    left->addWidget(linesLabel, 2, 0, 1, 2);
    left->addWidget(lines_, 3, 0, 1, 2);
    auto* column = new QVBoxLayout;
    column->addLayout(left);
    column->addLayout(own);
    auto* choices = new QHBoxLayout;
    choices->addLayout(column, 3);
    choices->addWidget(subjects_, 2);
    setChoices(choices, subjects_->lastControl());
    // Reading order: the left column, then the subjects beside it.
    QList<QWidget*> order{tableBox_, totalBox_, lines_};
    order << ownControls << subjects_->fieldList() << subjects_->allButton() << subjects_->noneButton()
          << okButton() << cancelButton();
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

std::string TierLineDialog::chosenTable() const {
    return tableBox_->currentData().toString().toStdString();
}

void TierLineDialog::tableChosen() {
    tables_ = LoadClassTables(classes_, chosenTable());
    const std::vector<const GradeTable*> present = PresentTables(tables_);
    const std::vector<std::string> fields = NumericFieldsOfTables(present);
    {
        const QSignalBlocker quiet(totalBox_);
        FillChoiceBox(*totalBox_, fields, DefaultGradeRankField(tables_));
    }
    subjects_->setFields(fields, SubjectFieldsOfTables(present));
    offerDefaultLine();
}

void TierLineDialog::offerDefaultLine() {
    if (!offered_) {
        return;
    }
    const std::optional<LineText> line =
        DefaultTierLine(static_cast<int>(GradeTotals(tables_, totalBox_->currentText().toStdString()).size()));
    lines_->setLines(line ? std::vector<LineText>{*line} : std::vector<LineText>{});
}

std::optional<AnalysisResult> TierLineDialog::readChoice(std::vector<ClassTable>& tables, LineChoice& choice) {
    lines_->commitEdit();
    tables = LoadClassTables(classes_, chosenTable());
    choice.total = totalBox_->currentText().toStdString();
    choice.subjects = subjects_->tickedFields();
    choice.lines = lines_->lines();
    // The lines first, so that a fault in them is named before anything is asked.
    if (const std::vector<double> totals = GradeTotals(tables, choice.total); !totals.empty()) {
        std::vector<TierLine> resolved;
        if (std::optional<std::string> fault = ResolveTierLines(choice.lines, totals, resolved)) {
            return Refusal(*fault);
        }
    }
    const std::optional<std::string> total =
        ConfirmComparableTotals(GroupOfClasses(tables), choice.total, kOtherClasses, true, prompter_);
    if (!total) {
        return Refusal({});
    }
    choice.total = *total;
    return std::nullopt;
}

void TierLineDialog::rememberLines() {
    RememberTierLines(gradeFolder_, lines_->lines());
}

}  // namespace scorvane
