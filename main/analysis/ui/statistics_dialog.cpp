#include "main/analysis/ui/statistics_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "main/analysis/ui/analysis_memory.h"
#include "main/analysis/ui/analysis_options_panel.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

StatisticsDialog::StatisticsDialog(const GradeTable& table, Prompter& prompter, QWidget* parent)
    : QDialog(parent), table_(table), prompter_(prompter) {
    setObjectName("frmStatistics");
    setWindowTitle(qs(kStatisticsCaption));
    setModal(true);

    auto* explanation = new QLabel(
        QStringLiteral("勾选需要统计的字段，按“确定”，统计结果和分数段将作为两张新的表格打开。"), this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::LinesAndBandWidth, this);
    // The fields of marks, all ticked.
    const std::vector<std::string> fields = DefaultStatisticsFields(table_);
    options_->setFields(fields, fields, DeriveFields(table_), RememberedFullMarks());

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(options_, 1);
    layout->addLayout(buttons);
    setTabOrder(options_->lastControl(), ok_);
    setTabOrder(ok_, cancel_);
    resize(480, 400);

    connect(ok_, &QPushButton::clicked, this, &StatisticsDialog::compute);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void StatisticsDialog::compute() {
    AnalysisSettings settings;
    if (auto fault = ReadAnalysisTexts(options_->texts(), table_.fieldTitles(), {}, settings)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    if (!MayUseFullMarks(ClassMarksAboveFullMarks(table_, settings), prompter_)) {
        return;
    }
    RememberFullMarks(options_->ownFullMarks());
    result_ = ComputeClassStatistics(table_, settings);
    accept();
}

std::optional<ClassStatistics> RunStatisticsDialog(const GradeTable& table, Prompter& prompter,
                                                   DialogRunner& runner, QWidget* owner) {
    StatisticsDialog dialog(table, prompter, owner);
    runner.run(dialog);
    return std::move(dialog.result());
}

}  // namespace scorvane
