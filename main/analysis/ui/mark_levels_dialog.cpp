#include "main/analysis/ui/mark_levels_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/analysis/class_statistics.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/mark_levels.h"
#include "main/analysis/ui/analysis_memory.h"
#include "main/analysis/ui/analysis_options_panel.h"
#include "main/analysis/ui/grading_memory.h"
#include "main/analysis/ui/text_grid.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The schemes offered ready, in the order of the box; 自定义 follows them.
std::vector<LevelScheme> readySchemes() {
    return {DefaultLevelScheme(), LetterLevelScheme()};
}

std::vector<std::vector<std::string>> gridRows(const LevelScheme& scheme) {
    std::vector<std::vector<std::string>> rows;
    for (const LevelRowText& row : LevelRowTexts(scheme)) {
        rows.push_back({row.name, row.bound});
    }
    return rows;
}

}  // namespace

MarkLevelsDialog::MarkLevelsDialog(const GradeTable& table, Prompter& prompter, QWidget* parent)
    : QDialog(parent), table_(table), prompter_(prompter) {
    setObjectName("frmMarkLevels");
    setWindowTitle(qs(kMarkLevelsCaption) + QStringLiteral(" - ") + qs(table.title));
    setModal(true);

    auto* explanation = new QLabel(QStringLiteral("勾选需要换算的字段，选择等级方案，按“确定”，各学生的等级（不含名次）"
                                                  "和各等级的人数将作为新的表格打开。各等级的下限为满分的百分比，"
                                                  "正好等于下限的成绩属于较高的等级。"),
                                   this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    options_ = new AnalysisOptionsPanel(AnalysisOptionsPanel::Boxes::FullMarks, this);
    const std::vector<std::string> fields = DefaultStatisticsFields(table_);
    options_->setFields(fields, fields, DeriveFields(table_), RememberedFullMarks());

    schemeBox_ = new QComboBox(this);
    schemeBox_->setObjectName("Combo1");
    for (const LevelScheme& scheme : readySchemes()) {
        schemeBox_->addItem(qs(LevelSchemeDescription(scheme)));
    }
    schemeBox_->addItem(QStringLiteral("自定义"));
    schemeGrid_ = new TextGrid({QStringLiteral("等级"), QStringLiteral("下限(%)")}, kSchemeRows, this);
    schemeGrid_->setObjectName("Grid1");
    auto* gridLabel = new QLabel(QStringLiteral("各等级(&L)："), this);
    gridLabel->setBuddy(schemeGrid_);
    levelsBox_ = new QCheckBox(QStringLiteral("各学生的等级(&T)"), this);
    levelsBox_->setObjectName("Check1");
    levelsBox_->setChecked(true);
    distributionBox_ = new QCheckBox(QStringLiteral("等级分布(&D)"), this);
    distributionBox_->setObjectName("Check2");

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* scheme = new QVBoxLayout;
    auto* schemeForm = new QFormLayout;
    schemeForm->addRow(QStringLiteral("等级方案(&S)："), schemeBox_);
    scheme->addLayout(schemeForm);
    scheme->addWidget(gridLabel);
    scheme->addWidget(schemeGrid_, 1);
    auto* tables = new QHBoxLayout;
    tables->addWidget(new QLabel(QStringLiteral("生成："), this));
    tables->addWidget(levelsBox_);
    tables->addWidget(distributionBox_);
    tables->addStretch();
    scheme->addLayout(tables);
    auto* middle = new QHBoxLayout;
    middle->addWidget(options_, 3);
    middle->addLayout(scheme, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    setTabOrder(options_->lastControl(), schemeBox_);
    setTabOrder(schemeBox_, schemeGrid_);
    setTabOrder(schemeGrid_, levelsBox_);
    setTabOrder(levelsBox_, distributionBox_);
    setTabOrder(distributionBox_, ok_);
    setTabOrder(ok_, cancel_);
    resize(720, 440);

    showScheme(RememberedLevelScheme());
    connect(schemeBox_, &QComboBox::currentIndexChanged, this, &MarkLevelsDialog::schemeChosen);
    connect(schemeGrid_, &TextGrid::edited, this, &MarkLevelsDialog::schemeEdited);
    connect(ok_, &QPushButton::clicked, this, &MarkLevelsDialog::compute);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void MarkLevelsDialog::showScheme(const LevelScheme& scheme) {
    schemeGrid_->setTexts(gridRows(scheme));
    // The ready scheme it is, else 自定义.
    const std::vector<LevelScheme> ready = readySchemes();
    int index = static_cast<int>(ready.size());
    for (size_t i = 0; i < ready.size(); ++i) {
        if (LevelSchemeText(ready[i]) == LevelSchemeText(scheme)) {
            index = static_cast<int>(i);
        }
    }
    const QSignalBlocker block(schemeBox_);
    schemeBox_->setCurrentIndex(index);
}

void MarkLevelsDialog::schemeChosen() {
    const std::vector<LevelScheme> ready = readySchemes();
    const int index = schemeBox_->currentIndex();
    if (index >= 0 && static_cast<size_t>(index) < ready.size()) {
        showScheme(ready[static_cast<size_t>(index)]);
    }
}

void MarkLevelsDialog::schemeEdited() {
    // An edited scheme is no longer the ready one it came from.
    const QSignalBlocker block(schemeBox_);
    schemeBox_->setCurrentIndex(schemeBox_->count() - 1);
}

void MarkLevelsDialog::compute() {
    AnalysisSettings settings;
    if (auto fault = ReadAnalysisTexts(options_->texts(), table_.fieldTitles(), {}, settings)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    std::vector<LevelRowText> rows;
    for (const std::vector<std::string>& row : schemeGrid_->texts()) {
        rows.push_back({row[0], row[1]});
    }
    LevelScheme scheme;
    if (auto fault = ReadLevelRows(rows, scheme)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    if (!levelsBox_->isChecked() && !distributionBox_->isChecked()) {
        prompter_.message("请选择需要生成的表格！", "提示", Icon::Information);
        return;
    }
    if (!MayUseFullMarks(ClassMarksAboveFullMarks(table_, settings), prompter_)) {
        return;
    }
    MarkLevelsTables made;
    for (bool distribution : {false, true}) {
        if (!(distribution ? distributionBox_ : levelsBox_)->isChecked()) {
            continue;
        }
        AnalysisResult r = distribution ? LevelDistribution(table_, settings, scheme)
                                        : MarkLevels(table_, settings, scheme, ClassOfTableFile(table_.filePath));
        if (!r.table) {
            prompter_.message(r.refusal, "提示", Icon::Information);
            return;
        }
        (distribution ? made.distribution : made.levels) = std::move(r.table);
    }
    RememberFullMarks(options_->ownFullMarks());
    RememberLevelScheme(scheme);
    result_ = std::move(made);
    accept();
}

MarkLevelsTables RunMarkLevelsDialog(const GradeTable& table, Prompter& prompter, DialogRunner& runner,
                                     QWidget* owner) {
    MarkLevelsDialog dialog(table, prompter, owner);
    runner.run(dialog);
    return std::move(dialog.result());
}

}  // namespace scorvane
