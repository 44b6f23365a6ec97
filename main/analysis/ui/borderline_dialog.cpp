#include "main/analysis/ui/borderline_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "common/utf8.h"
#include "main/analysis/borderline_students.h"
#include "main/analysis/ui/grade_comparison_dialog.h"
#include "main/analysis/ui/line_memory.h"
#include "main/analysis/ui/tier_line_grid.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

BorderlineDialog::BorderlineDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                                   QWidget* parent)
    : TierLineDialog("frmBorderline", kBorderlineCaption,
                     QStringLiteral("选择各班级的同一张表格、总分字段和学科，设定分数线并选择其中一条，按“确定”，"
                                    "总分在该线以下、以上若干分之内的学生（线下含、线上不含）及其低于有效分的学科"
                                    "将作为一张新的表格打开，按班级分页打印。"),
                     std::move(grade), std::move(classes), prompter, parent) {
    line_ = new QComboBox(this);
    line_->setObjectName("Combo3");
    const BorderRange range = RememberedBorderRange(gradeFolder());
    below_ = new QLineEdit(qs(range.below), this);
    below_->setObjectName("Text1");
    below_->setMaximumWidth(80);
    above_ = new QLineEdit(qs(range.above), this);
    above_->setObjectName("Text2");
    above_->setMaximumWidth(80);

    auto* own = new QGridLayout;
    auto* lineLabel = new QLabel(QStringLiteral("临界线(&X)："), this);
    lineLabel->setBuddy(line_);
    auto* belowLabel = new QLabel(QStringLiteral("线下(&B)："), this);
    belowLabel->setBuddy(below_);
    auto* aboveLabel = new QLabel(QStringLiteral("线上(&U)："), this);
    aboveLabel->setBuddy(above_);
    own->addWidget(lineLabel, 0, 0);
    own->addWidget(line_, 0, 1, 1, 3);
    own->addWidget(belowLabel, 1, 0);
    own->addWidget(below_, 1, 1);
    own->addWidget(aboveLabel, 1, 2);
    own->addWidget(above_, 1, 3);
    own->addWidget(new QLabel(QStringLiteral("分（线 − 线下 ≤ 总分 < 线 + 线上）"), this), 1, 4);
    own->setColumnStretch(5, 1);
    layOut(own, {line_, below_, above_});
    resize(720, 440);

    connect(lineGrid(), &TierLineGrid::edited, this, &BorderlineDialog::offerLines);
    connect(tableBox(), &QComboBox::currentIndexChanged, this, &BorderlineDialog::offerLines);
    connect(totalBox(), &QComboBox::currentIndexChanged, this, &BorderlineDialog::offerLines);
    offerLines();
}

void BorderlineDialog::offerLines() {
    const QString chosen = line_->currentText();
    QStringList names;
    for (const LineText& line : lineGrid()->lines()) {
        const QString name = qs(TrimSpaces(line.name));
        if (!name.isEmpty() && !names.contains(name)) {
            names << name;
        }
    }
    line_->clear();
    line_->addItems(names);
    if (names.contains(chosen)) {
        line_->setCurrentText(chosen);
    }
}

AnalysisResult BorderlineDialog::compute() {
    const BorderRange range{below_->text().toStdString(), above_->text().toStdString()};
    double below = 0;
    double above = 0;
    if (!ReadBorderRange(range, below, above)) {
        return Refusal(std::string(kBorderRangeMessage));
    }
    std::vector<ClassTable> tables;
    LineChoice choice;
    if (std::optional<AnalysisResult> refusal = readChoice(tables, choice)) {
        return std::move(*refusal);
    }
    AnalysisResult result =
        BorderlineStudents(grade(), chosenTable(), tables, choice, line_->currentText().toStdString(), range);
    if (result.table) {
        rememberLines();
        RememberBorderRange(gradeFolder(), range);
    }
    return result;
}

std::optional<GradeTable> RunBorderlineDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                                              DialogRunner& runner, QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    BorderlineDialog dialog(grade.text, std::move(*classes), prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
