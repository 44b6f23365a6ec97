#include "main/analysis/ui/exam_history_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/exam_history.h"
#include "main/analysis/exam_order.h"
#include "main/analysis/totals_question.h"
#include "main/analysis/ui/choice_box.h"
#include "main/analysis/ui/list_mover.h"
#include "main/workspace/class_folder.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

ExamHistoryDialog::ExamHistoryDialog(GradeClass classFolder, const std::vector<std::string>& tables,
                                     Prompter& prompter, QWidget* parent)
    : AnalysisDialog("frmExamHistory", qs(kExamHistoryCaption) + QStringLiteral(" - ") + qs(classFolder.name),
                     QStringLiteral("勾选本班级需要并排的表格并排好次序，选择字段，按“确定”，每个学生在各张"
                                    "表格中的成绩（或名次）将作为一张新的表格打开。"),
                     prompter, parent),
      class_(std::move(classFolder)) {
    tables_ = new QListWidget(this);
    tables_->setObjectName("List1");
    for (const std::string& name : tables) {
        auto* item = new QListWidgetItem(qs(name), tables_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    tables_->setCurrentRow(0);
    auto* tablesLabel = new QLabel(QStringLiteral("表格(&T)："), this);
    tablesLabel->setBuddy(tables_);
    up_ = new QPushButton(QStringLiteral("上移(&U)"), this);
    up_->setObjectName("Command3");
    up_->setAutoDefault(false);
    down_ = new QPushButton(QStringLiteral("下移(&D)"), this);
    down_->setObjectName("Command4");
    down_->setAutoDefault(false);

    // The fields of the tables that can be read now.
    std::vector<NamedTable> readable;
    for (const std::string& name : tables) {
        bool unreadable = false;
        if (std::optional<GradeTable> table = ReadTableInFolder(class_.folder, name, unreadable)) {
            readable.push_back({name, std::move(*table)});
        }
    }
    std::vector<const GradeTable*> read;
    for (const NamedTable& t : readable) {
        read.push_back(&t.table);
    }
    fieldBox_ = new QComboBox(this);
    fieldBox_->setObjectName("Combo1");
    FillChoiceBox(*fieldBox_, NumericFieldsOfTables(read), DefaultHistoryField(readable));
    auto* fieldLabel = new QLabel(QStringLiteral("字段(&F)："), this);
    fieldLabel->setBuddy(fieldBox_);
    ranks_ = new QCheckBox(QStringLiteral("名次(&R)（列出每张表格中的名次，而不是成绩）"), this);
    ranks_->setObjectName("Check1");

    auto* choices = new QGridLayout;
    choices->addWidget(tablesLabel, 0, 0, 1, 2);
    choices->addWidget(tables_, 1, 0, 3, 1);
    choices->addWidget(up_, 1, 1);
    choices->addWidget(down_, 2, 1);
    choices->setRowStretch(3, 1);
    auto* field = new QHBoxLayout;
    field->addWidget(fieldLabel);
    field->addWidget(fieldBox_, 1);
    choices->addLayout(field, 4, 0, 1, 2);
    choices->addWidget(ranks_, 5, 0, 1, 2);
    setChoices(choices, ranks_);
    resize(420, 360);

    new ListMover(tables_, up_, down_);
}

std::vector<std::string> ExamHistoryDialog::chosenTables() const {
    std::vector<std::string> names;
    for (int r = 0; r < tables_->count(); ++r) {
        if (tables_->item(r)->checkState() == Qt::Checked) {
            names.push_back(tables_->item(r)->text().toStdString());
        }
    }
    return names;
}

AnalysisResult ExamHistoryDialog::compute() {
    const std::vector<std::string> names = chosenTables();
    if (names.empty()) {
        return Refusal(std::string(kNoTableChosenMessage));
    }
    std::vector<NamedTable> tables;
    if (auto fault = LoadClassExams(class_.folder, names, tables)) {
        return Refusal(*fault);
    }
    const std::string field = fieldBox_->currentText().toStdString();
    ConfirmComparableTotals(GroupOfExams(tables), field, kOtherExams, false, prompter_);
    return ExamHistory(class_.name, tables, {field, ranks_->isChecked()});
}

std::optional<GradeTable> RunExamHistoryDialog(const SchoolNode& classNode, Prompter& prompter,
                                               DialogRunner& runner, QWidget* owner) {
    GradeClass folder{classNode.text, ClassFolder(classNode.fullPath)};
    const std::vector<std::string> tables =
        folder.folder.empty() ? std::vector<std::string>() : ClassExamOrder(folder.folder);
    if (tables.empty()) {
        prompter.message(kClassHoldsNoTablesMessage, "提示", Icon::Information);
        return std::nullopt;
    }
    ExamHistoryDialog dialog(std::move(folder), tables, prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
