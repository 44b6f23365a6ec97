#include "main/analysis/ui/score_assignment_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/grade_score_assignment.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/assignment_bands_dialog.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/grading_memory.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString kExplanation = QStringLiteral(
    "勾选需要赋分的字段（一般为化学、生物、政治、地理），按“确定”，学生按各字段的名次分入等级，等级内的原始分"
    "按比例换算为该等级的赋分，结果将作为一张新的表格打开。原始成绩不会改变。");

}  // namespace

ScoreAssignmentDialog::ScoreAssignmentDialog(std::string grade, std::vector<GradeClass> classes,
                                             Prompter& prompter, DialogRunner& runner, QWidget* parent)
    : AnalysisDialog("frmScoreAssignment", qs(kScoreAssignmentCaption) + QStringLiteral(" - ") + qs(grade),
                     kExplanation, prompter, parent),
      runner_(runner),
      grade_(std::move(grade)),
      classes_(std::move(classes)) {
    auto* tableBox = new QComboBox(this);
    tableBox->setObjectName("Combo1");
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes_)) {
        tableBox->addItem(qs(GradeTableCountText(entry)), qs(entry.name));
    }
    build(tableBox);
    connect(tableBox_, &QComboBox::currentIndexChanged, this, &ScoreAssignmentDialog::tableChosen);
    tableChosen();
}

ScoreAssignmentDialog::ScoreAssignmentDialog(const GradeTable& table, Prompter& prompter, DialogRunner& runner,
                                             QWidget* parent)
    : AnalysisDialog("frmScoreAssignment", qs(kScoreAssignmentCaption) + QStringLiteral(" - ") + qs(table.title),
                     kExplanation, prompter, parent),
      runner_(runner),
      table_(&table) {
    build(nullptr);
    const std::vector<std::string> fields = NumericFieldsOfTables({table_});
    options_->setFields(fields, DefaultAssignmentFields(fields));
}

void ScoreAssignmentDialog::build(QComboBox* tableBox) {
    tableBox_ = tableBox;
    bands_ = RememberedAssignmentBands();
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::None, this);
    bandsText_ = new QLabel(this);
    bandsText_->setObjectName("Label2");
    bandsText_->setWordWrap(true);
    bandsButton_ = new QPushButton(QStringLiteral("赋分规则(&B)..."), this);
    bandsButton_->setObjectName("Command5");
    bandsButton_->setAutoDefault(false);
    connect(bandsButton_, &QPushButton::clicked, this, &ScoreAssignmentDialog::editBands);

    auto* choices = new QVBoxLayout;
    if (tableBox_) {
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("表格(&T)："), tableBox_);
        choices->addLayout(form);
    }
    choices->addWidget(options_, 1);
    auto* bands = new QHBoxLayout;
    bands->addWidget(bandsText_, 1);
    bands->addWidget(bandsButton_, 0, Qt::AlignTop);
    choices->addLayout(bands);
    setChoices(choices, bandsButton_);
    setTabOrder(options_->lastControl(), bandsButton_);
    showBands();
    resize(460, 460);
}

void ScoreAssignmentDialog::tableChosen() {
    const std::vector<ClassTable> tables =
        LoadClassTables(classes_, tableBox_->currentData().toString().toStdString());
    const std::vector<std::string> fields = NumericFieldsOfTables(PresentTables(tables));
    options_->setFields(fields, DefaultAssignmentFields(fields));
}

void ScoreAssignmentDialog::showBands() {
    bandsText_->setText(QStringLiteral("赋分规则：") + qs(AssignmentBandsDescription(bands_)));
}

void ScoreAssignmentDialog::editBands() {
    if (std::optional<AssignmentBands> edited = RunAssignmentBandsDialog(bands_, prompter_, runner_, this)) {
        bands_ = std::move(*edited);
        RememberAssignmentBands(bands_);
        showBands();
    }
}

AnalysisResult ScoreAssignmentDialog::compute() {
    const std::vector<std::string> fields = options_->tickedFields();
    if (table_) {
        return ScoreAssignmentTable(
            TableScoreAssignment(*table_, ClassOfTableFile(table_->filePath), fields, bands_));
    }
    const std::string name = tableBox_->currentData().toString().toStdString();
    const std::vector<ClassTable> tables = LoadClassTables(classes_, name);
    return ScoreAssignmentTable(GradeScoreAssignment(grade_, name, tables, fields, bands_));
}

std::optional<GradeTable> RunGradeScoreAssignmentDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                        Prompter& prompter, DialogRunner& runner, QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    ScoreAssignmentDialog dialog(grade.text, std::move(*classes), prompter, runner, owner);
    return RunAnalysisDialog(dialog, runner);
}

std::optional<GradeTable> RunTableScoreAssignmentDialog(const GradeTable& table, Prompter& prompter,
                                                        DialogRunner& runner, QWidget* owner) {
    ScoreAssignmentDialog dialog(table, prompter, runner, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
