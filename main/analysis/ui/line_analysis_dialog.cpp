#include "main/analysis/ui/line_analysis_dialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "main/analysis/line_analysis.h"
#include "main/analysis/ui/grade_comparison_dialog.h"

namespace scorvane {

LineAnalysisDialog::LineAnalysisDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                                       QWidget* parent)
    : TierLineDialog("frmLineAnalysis", kLineAnalysisCaption,
                     QStringLiteral("选择各班级的同一张表格、总分字段和学科，设定分数线（按分数，或按年级前 N 名），"
                                    "按“确定”，每个班级各线的上线人数与上线率、各学科的单上线、双上线、命中率和"
                                    "贡献率（学科的有效分按上线比例取）将作为一张新的表格打开。"),
                     std::move(grade), std::move(classes), prompter, parent) {
    list_ = new QCheckBox(QStringLiteral("上线名单(&M)（列出达到分数线的学生和偏科的学科，而不是统计表）"), this);
    list_->setObjectName("Check1");
    auto* own = new QVBoxLayout;
    own->addWidget(list_);
    layOut(own, {list_});
    resize(720, 420);
}

AnalysisResult LineAnalysisDialog::compute() {
    std::vector<ClassTable> tables;
    LineChoice choice;
    if (std::optional<AnalysisResult> refusal = readChoice(tables, choice)) {
        return std::move(*refusal);
    }
    AnalysisResult result = list_->isChecked() ? LineStudentList(grade(), chosenTable(), tables, choice)
                                               : LineAnalysis(grade(), chosenTable(), tables, choice);
    if (result.table) {
        rememberLines();
    }
    return result;
}

std::optional<GradeTable> RunLineAnalysisDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                                                DialogRunner& runner, QWidget* owner) {
    std::optional<std::vector<GradeClass>> classes = GradeClassesWithTables(tree, grade, prompter);
    if (!classes) {
        return std::nullopt;
    }
    LineAnalysisDialog dialog(grade.text, std::move(*classes), prompter, owner);
    return RunAnalysisDialog(dialog, runner);
}

}  // namespace scorvane
