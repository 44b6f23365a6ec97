#include "main/analysis/ui/grade_ranking_dialog.h"

#include <QComboBox>
#include <QFormLayout>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/choice_box.h"
#include "main/analysis/ui/grade_comparison_dialog.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

GradeRankingDialog::GradeRankingDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                                       QWidget* parent)
    : AnalysisDialog("frmGradeRank", qs(kGradeRankingCaption) + QStringLiteral(" - ") + qs(grade),
                     QStringLiteral("选择各班级的同一张表格和排名所依据的字段，按“确定”，全年级的学生"
                                    "按该字段排出班级名次和年级名次，结果将作为一张新的表格打开。"),
                     prompter, parent),
      grade_(std::move(grade)),
      classes_(std::move(classes)) {
    tableBox_ = new QComboBox(this);
    tableBox_->setObjectName("Combo1");
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes_)) {
        tableBox_->addItem(qs(GradeTableCountText(entry)), qs(entry.name));
    }
    fieldBox_ = new QComboBox(this);
    fieldBox_->setObjectName("Combo2");
    auto* choices = new QFormLayout;
    choices->addRow(QStringLiteral("表格(&T)："), tableBox_);
    choices->addRow(QStringLiteral("排名依据(&F)："), fieldBox_);
    setChoices(choices, fieldBox_);
    resize(420, 180);

    connect(tableBox_, &QComboBox::currentIndexChanged, this, &GradeRankingDialog::tableChosen);
    tableChosen();
}

std::string GradeRankingDialog::chosenTable() const {
    return tableBox_->currentData().toString().toStdString();
}

void GradeRankingDialog::tableChosen() {
    const std::vector<ClassTable> tables = LoadClassTables(classes_, chosenTable());
    FillChoiceBox(*fieldBox_, NumericFieldsOfTables(PresentTables(tables)), DefaultGradeRankField(tables));
}

AnalysisResult GradeRankingDialog::compute() {
    const std::string name = chosenTable();
    const std::vector<ClassTable> tables = LoadClassTables(classes_, name);
    const std::optional<std::string> field = ConfirmComparableTotals(
        GroupOfClasses(tables), fieldBox_->currentText().toStdString(), kOtherClasses, true, prompter_);
    if (!field) {
        return Refusal({});
    }
    return GradeRanking(grade_, name, tables, *field);
}

std::optional<GradeTable> RunGradeRankingDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                Prompter& prompter, DialogRunner& runner, QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    GradeRankingDialog dialog(grade.text, std::move(*classes), prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
