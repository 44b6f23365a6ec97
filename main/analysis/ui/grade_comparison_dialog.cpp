#include "main/analysis/ui/grade_comparison_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/analysis_memory.h"
#include "main/analysis/ui/analysis_options_panel.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

GradeComparisonDialog::GradeComparisonDialog(std::string grade, std::vector<GradeClass> classes,
                                             Prompter& prompter, QWidget* parent)
    : QDialog(parent), grade_(std::move(grade)), classes_(std::move(classes)), prompter_(prompter) {
    setObjectName("frmGradeCompare");
    setWindowTitle(qs(kGradeComparisonCaption) + QStringLiteral(" - ") + qs(grade_));
    setModal(true);

    auto* explanation = new QLabel(QStringLiteral("选择各班级的同一张表格和需要对比的字段，按“确定”，"
                                                  "对比结果将作为一张新的表格打开。"),
                                   this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    tableBox_ = new QComboBox(this);
    tableBox_->setObjectName("Combo1");
    // "期中考试（3 个班）", the latest exam most classes hold first.
    for (const GradeTableCount& entry : GradeTablesByClassCount(classes_)) {
        tableBox_->addItem(qs(GradeTableCountText(entry)), qs(entry.name));
    }
    auto* tableLabel = new QLabel(QStringLiteral("表格(&T)："), this);
    tableLabel->setBuddy(tableBox_);
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::Lines, this);

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");
    auto* top = new QHBoxLayout;
    top->addWidget(tableLabel);
    top->addWidget(tableBox_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(top);
    layout->addWidget(options_, 1);
    layout->addLayout(buttons);
    setTabOrder(tableBox_, options_->firstControl());
    setTabOrder(options_->lastControl(), ok_);
    setTabOrder(ok_, cancel_);
    resize(480, 420);

    connect(tableBox_, &QComboBox::currentIndexChanged, this, &GradeComparisonDialog::tableChosen);
    connect(ok_, &QPushButton::clicked, this, &GradeComparisonDialog::compute);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    tableChosen();
}

void GradeComparisonDialog::tableChosen() {
    tables_ = LoadClassTables(classes_, tableBox_->currentData().toString().toStdString());
    options_->setFields(DefaultComparisonFields(tables_), DefaultComparisonFields(tables_),
                        ComparisonDerivedFields(tables_), RememberedFullMarks());
}

void GradeComparisonDialog::compute() {
    const std::string name = tableBox_->currentData().toString().toStdString();
    if (std::none_of(tables_.begin(), tables_.end(),
                     [](const ClassTable& c) { return c.table.has_value(); })) {
        prompter_.message(NoClassHoldsTableMessage(name), "提示", Icon::Information);
        return;
    }
    AnalysisSettings settings;
    AnalysisTexts texts = options_->texts();
    if (auto fault = ReadAnalysisTexts(texts, ComparisonFields(tables_), {}, settings)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    // A total that adds different subjects in some classes: told, or exchanged for the average.
    const TableGroup group = GroupOfClasses(tables_);
    for (const std::string& field : settings.fields) {
        const std::optional<std::string> chosen = ConfirmComparableTotals(group, field, kOtherClasses, true, prompter_);
        if (!chosen) {
            return;
        }
        if (*chosen != field) {
            std::replace(texts.fields.begin(), texts.fields.end(), field, *chosen);
        }
    }
    if (texts.fields != settings.fields &&
        ReadAnalysisTexts(texts, ComparisonFields(tables_), {}, settings)) {
        return;
    }
    for (const std::string& field : settings.fields) {
        if (GroupFieldMarks(group, field).marks.empty()) {
            prompter_.message(NoMarksInFieldMessage(field), "提示", Icon::Information);
            return;
        }
    }
    if (!MayUseFullMarks(GradeMarksAboveFullMarks(tables_, settings), prompter_)) {
        return;
    }
    if (const std::string leftOut = LeftOutClassesMessage(name, tables_, settings.fields); !leftOut.empty()) {
        prompter_.message(leftOut, "提示", Icon::Information);
    }
    RememberFullMarks(options_->ownFullMarks());
    result_ = GradeComparisonTable(grade_, name, tables_, settings);
    accept();
}

std::optional<std::vector<GradeClass>> GradeClassesWithTables(const SchoolTree& tree, const SchoolNode& grade,
                                                              Prompter& prompter) {
    std::vector<GradeClass> classes = GradeClassesOf(tree, grade);
    if (GradeTableNames(classes).empty()) {
        prompter.message(kGradeHoldsNoTablesMessage, "提示", Icon::Information);
        return std::nullopt;
    }
    return classes;
}

std::optional<GradeTable> RunGradeComparisonDialog(const SchoolTree& tree, const SchoolNode& grade,
                                                   Prompter& prompter, DialogRunner& runner, QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    GradeComparisonDialog dialog(grade.text, std::move(*classes), prompter, owner);
    runner.run(dialog);
    return std::move(dialog.result());
}

}  // namespace scorvane
