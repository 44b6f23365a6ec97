#include "main/analysis/ui/teaching_evaluation_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "common/file_io.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/teaching_evaluation.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/analysis_memory.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/document/data_file.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

TeachingEvaluationDialog::TeachingEvaluationDialog(std::string grade, std::vector<GradeClass> classes,
                                                   Prompter& prompter, QWidget* parent)
    : AnalysisDialog(
          "frmTeachingEvaluation", qs(kTeachingEvaluationCaption) + QStringLiteral(" - ") + qs(grade),
          QStringLiteral("选择各班级的同一张表格、需要评价的学科和前次考试，按“确定”，每个学科各班级与全年级"
                         "相比的结果（教学评价）和每位任课教师的结果（教师汇总，按年级的任课表）将作为新的"
                         "表格打开。综合得分 = a×平均分÷满分×100 + b×优秀率 + c×及格率 − d×低分率。"),
          prompter, parent),
      grade_(std::move(grade)),
      classes_(std::move(classes)) {
    tableBox_ = new QComboBox(this);
    tableBox_->setObjectName("Combo1");
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes_)) {
        tableBox_->addItem(qs(GradeTableCountText(entry)), qs(entry.name));
    }
    auto* tableLabel = new QLabel(QStringLiteral("表格(&T)："), this);
    tableLabel->setBuddy(tableBox_);
    earlierBox_ = new QComboBox(this);
    earlierBox_->setObjectName("Combo2");
    auto* earlierLabel = new QLabel(QStringLiteral("前次考试(&Q)："), this);
    earlierLabel->setBuddy(earlierBox_);
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::Lines, this);

    std::optional<EvaluationWeights> kept = ReadWeights(RememberedWeights());
    const EvaluationWeights w = kept ? *kept : EvaluationWeights{};
    const double values[4] = {w.mean, w.excellent, w.pass, w.low};
    const char* const names[4] = {"txtWeightMean", "txtWeightExcellent", "txtWeightPass", "txtWeightLow"};
    const QString captions[4] = {QStringLiteral("平均分"), QStringLiteral("优秀率"), QStringLiteral("及格率"),
                                 QStringLiteral("低分率")};
    auto* weightRow = new QHBoxLayout;
    auto* weightLabel = new QLabel(QStringLiteral("综合得分权重(&W)："), this);
    weightRow->addWidget(weightLabel);
    for (size_t i = 0; i < weights_.size(); ++i) {
        weightRow->addWidget(new QLabel(captions[i], this));
        weights_[i] = new QLineEdit(QString::number(values[i]), this);
        weights_[i]->setObjectName(names[i]);
        weights_[i]->setAccessibleName(captions[i]);
        weights_[i]->setMaximumWidth(56);
        weightRow->addWidget(weights_[i]);
    }
    weightRow->addStretch();
    weightLabel->setBuddy(weights_[0]);

    auto* choices = new QGridLayout;
    choices->addWidget(tableLabel, 0, 0);
    choices->addWidget(tableBox_, 0, 1);
    choices->addWidget(earlierLabel, 1, 0);
    choices->addWidget(earlierBox_, 1, 1);
    choices->addWidget(options_, 2, 0, 1, 2);
    choices->addLayout(weightRow, 3, 0, 1, 2);
    choices->setColumnStretch(1, 1);
    choices->setRowStretch(2, 1);
    setChoices(choices, weights_.back());
    setTabOrder(tableBox_, earlierBox_);
    setTabOrder(earlierBox_, options_->firstControl());
    setTabOrder(options_->lastControl(), weights_[0]);
    for (size_t i = 1; i < weights_.size(); ++i) {
        setTabOrder(weights_[i - 1], weights_[i]);
    }
    resize(520, 520);

    connect(tableBox_, &QComboBox::currentIndexChanged, this, &TeachingEvaluationDialog::tableChosen);
    tableChosen();
}

std::string TeachingEvaluationDialog::chosenTable() const {
    return tableBox_->currentData().toString().toStdString();
}

void TeachingEvaluationDialog::tableChosen() {
    const std::string name = chosenTable();
    const std::vector<ClassTable> tables = LoadClassTables(classes_, name);
    const std::vector<const GradeTable*> present = PresentTables(tables);
    options_->setFields(NumericFieldsOfTables(present), SubjectFieldsOfTables(present),
                        ComparisonDerivedFields(tables), RememberedFullMarks());
    // The other exams in the order they were held; the one just before this one first.
    const std::vector<std::string> order = GradeExamOrder(classes_, GradeFolderOfClasses(classes_));
    earlierBox_->clear();
    earlierBox_->addItem(qs(kNoEarlierExam), QString());
    const auto at = std::find(order.begin(), order.end(), name);
    for (const std::string& exam : order) {
        if (exam != name) {
            earlierBox_->addItem(qs(exam), qs(exam));
        }
    }
    if (at != order.end() && at != order.begin()) {
        earlierBox_->setCurrentIndex(earlierBox_->findData(qs(*(at - 1))));
    }
}

AnalysisResult TeachingEvaluationDialog::compute() {
    EvaluationInput input;
    input.grade = grade_;
    input.tableName = chosenTable();
    input.classes = LoadClassTables(classes_, input.tableName);
    if (std::none_of(input.classes.begin(), input.classes.end(),
                     [](const ClassTable& c) { return c.table.has_value(); })) {
        return Refusal(NoClassHoldsTableMessage(input.tableName));
    }
    AnalysisTexts texts = options_->texts();
    if (auto fault = ReadAnalysisTexts(texts, ComparisonFields(input.classes), {}, input.settings)) {
        return Refusal(*fault);
    }
    std::array<std::string, 4> typed;
    for (size_t i = 0; i < typed.size(); ++i) {
        typed[i] = weights_[i]->text().toStdString();
    }
    const std::optional<EvaluationWeights> weights = ReadWeights(typed);
    if (!weights) {
        return Refusal(std::string(kWeightsMessage));
    }
    input.weights = *weights;
    const TableGroup group = GroupOfClasses(input.classes);
    for (const std::string& field : input.settings.fields) {
        if (!ConfirmComparableTotals(group, field, kOtherClasses, false, prompter_)) {
            return Refusal({});
        }
    }
    if (!MayUseFullMarks(GradeMarksAboveFullMarks(input.classes, input.settings), prompter_)) {
        return Refusal({});
    }
    input.earlierName = earlierBox_->currentData().toString().toStdString();
    if (!input.earlierName.empty()) {
        input.earlier = LoadClassTables(classes_, input.earlierName);
    }
    std::vector<std::string> names;
    for (const GradeClass& c : classes_) {
        names.push_back(c.name);
    }
    const std::string folder = GradeFolderOfClasses(classes_);
    input.teachers = ReadTeacherAssignments(folder, grade_, names, input.teacherTableMissing);
    input.teacherTableMissing =
        input.teacherTableMissing || !FileExists(DataFileOf(TeacherTablePath(folder)));

    TeachingEvaluation result = EvaluateTeaching(input);
    if (!result.byClass) {
        return Refusal(result.refusal);
    }
    RememberFullMarks(options_->ownFullMarks());
    RememberWeights(WeightsText(input.weights));
    teacherSummary_ = std::move(result.byTeacher);
    return AnalysisResult{std::move(result.byClass), {}, std::move(result.notice)};
}

std::optional<TeachingEvaluationTables> RunTeachingEvaluationDialog(const SchoolTree& tree,
                                                                    const SchoolNode& grade,
                                                                    Prompter& prompter, DialogRunner& runner,
                                                                    QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    TeachingEvaluationDialog dialog(grade.text, std::move(*classes), prompter, owner);
    std::optional<GradeTable> byClass = RunAnalysisDialog(dialog, runner);
    if (!byClass) {
        return std::nullopt;
    }
    return TeachingEvaluationTables{std::move(*byClass), std::move(dialog.teacherSummary())};
}

}  // namespace scorvane
