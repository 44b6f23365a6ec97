#include "main/analysis/ui/exam_progress_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/exam_history.h"
#include "main/analysis/exam_progress.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/choice_box.h"
#include "main/document/data_file.h"
#include "main/workspace/utilities.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The table at a path without ".skv", read as it is now, known by its file name.
std::optional<std::string> readTable(const std::string& path, std::vector<NamedTable>& out) {
    return LoadClassExams(DirectoryOfPath(path), {FileNameOfPath(path)}, out);
}

}  // namespace

ExamProgressDialog::ExamProgressDialog(const GradeTable& later, Prompter& prompter, QWidget* parent)
    : AnalysisDialog("frmExamProgress", qs(kExamProgressCaption) + QStringLiteral(" - ") + qs(later.title),
                     QStringLiteral("本表格为本次考试。选择前次考试的表格（本班级的其他表格，按考试顺序，上一次考试在前；"
                                    "其他文件夹中的表格按“浏览”选择）、排名所依据的字段和对应学生的字段，"
                                    "按“确定”，每个学生的进退步将作为一张新的表格打开。"),
                     prompter, parent),
      later_(later) {
    earlierBox_ = new QComboBox(this);
    earlierBox_->setObjectName("Combo1");
    if (!later_.filePath.empty()) {
        const std::string folder = DirectoryOfPath(later_.filePath);
        for (const std::string& name : EarlierTableChoices(later_.filePath)) {
            earlierBox_->addItem(qs(name), qs(folder + name));
        }
    }
    auto* earlierLabel = new QLabel(QStringLiteral("前次表格(&E)："), this);
    earlierLabel->setBuddy(earlierBox_);
    browse_ = new QPushButton(QStringLiteral("浏览(&B)..."), this);
    browse_->setObjectName("Command3");
    browse_->setAutoDefault(false);
    fieldBox_ = new QComboBox(this);
    fieldBox_->setObjectName("Combo2");
    auto* fieldLabel = new QLabel(QStringLiteral("排名依据(&F)："), this);
    fieldLabel->setBuddy(fieldBox_);
    keyBox_ = new QComboBox(this);
    keyBox_->setObjectName("Combo3");
    auto* keyLabel = new QLabel(QStringLiteral("对应学生(&K)："), this);
    keyLabel->setBuddy(keyBox_);

    auto* choices = new QGridLayout;
    choices->addWidget(earlierLabel, 0, 0);
    choices->addWidget(earlierBox_, 0, 1);
    choices->addWidget(browse_, 0, 2);
    choices->addWidget(fieldLabel, 1, 0);
    choices->addWidget(fieldBox_, 1, 1);
    choices->addWidget(keyLabel, 2, 0);
    choices->addWidget(keyBox_, 2, 1);
    choices->setColumnStretch(1, 1);
    choices->setRowStretch(3, 1);
    setChoices(choices, keyBox_);
    resize(460, 220);

    connect(earlierBox_, &QComboBox::currentIndexChanged, this, &ExamProgressDialog::earlierChosen);
    connect(browse_, &QPushButton::clicked, this, &ExamProgressDialog::browse);
    earlierChosen();
}

void ExamProgressDialog::browse() {
    const std::optional<std::string> path =
        ExistingDataPath(prompter_.openFile("*.skv", kEarlierTableOpenTitle));
    if (!path) {
        return;
    }
    int at = earlierBox_->findData(qs(*path));
    if (at < 0) {
        earlierBox_->insertItem(0, qs(FileNameOfPath(*path)), qs(*path));
        at = 0;
    }
    earlierBox_->setCurrentIndex(at);
    earlierChosen();
}

void ExamProgressDialog::earlierChosen() {
    std::vector<NamedTable> earlier;
    const std::string path = earlierBox_->currentData().toString().toStdString();
    std::vector<const GradeTable*> tables;
    if (!path.empty() && !readTable(path, earlier)) {
        tables.push_back(&earlier.front().table);
    }
    tables.push_back(&later_);
    std::vector<std::string> fields = NumericFieldsOfTables(tables);
    std::erase_if(fields, [&tables](const std::string& f) { return !EveryTableHas(tables, f); });
    FillChoiceBox(*fieldBox_, fields, DefaultRankField(tables));
    FillChoiceBox(*keyBox_, StudentKeyChoices(tables), DefaultStudentKey(tables).field);
}

std::string ExamProgressDialog::laterName() const {
    return later_.filePath.empty() ? later_.title : FileNameOfPath(later_.filePath);
}

AnalysisResult ExamProgressDialog::compute() {
    const std::string path = earlierBox_->currentData().toString().toStdString();
    if (path.empty()) {
        return Refusal(std::string(kNoEarlierTableMessage));
    }
    std::vector<NamedTable> earlier;
    if (auto fault = readTable(path, earlier)) {
        return Refusal(*fault);
    }
    const ProgressChoice choice{earlier.front().name, laterName(), fieldBox_->currentText().toStdString(),
                                ChosenStudentKey(keyBox_->currentText().toStdString())};
    ConfirmComparableTotals({{choice.earlierName, &earlier.front().table}, {choice.laterName, &later_}},
                            choice.field, kOtherExams, false, prompter_);
    return ExamProgress(earlier.front().table, later_, choice);
}

std::optional<GradeTable> RunExamProgressDialog(const GradeTable& later, Prompter& prompter,
                                                DialogRunner& runner, QWidget* owner) {
    ExamProgressDialog dialog(later, prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
