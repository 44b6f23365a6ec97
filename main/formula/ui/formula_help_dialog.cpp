#include "main/formula/ui/formula_help_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/formula/evaluator.h"

namespace scorvane {
namespace {

struct FunctionEntry {
    const char* name;
    const char* meaning;
};

struct FunctionGroup {
    const char* caption;
    std::vector<FunctionEntry> entries;
};

const std::vector<FunctionGroup>& functionGroups() {
    static const std::vector<FunctionGroup> groups = {
        {"三角：",
         {{"sin", "正弦"},
          {"cos", "余弦"},
          {"tan", "正切"},
          {"sec", "正割"},
          {"csc", "余割"},
          {"cot", "余切"}}},
        {"双曲：",
         {{"hsn", "双曲正弦"},
          {"hcs", "双曲余弦"},
          {"htn", "双曲正切"},
          {"hsc", "双曲正割"},
          {"hcc", "双曲余割"},
          {"hct", "双曲余切"}}},
        {"反三角：",
         {{"isn", "反正弦"},
          {"ics", "反余弦"},
          {"itn", "反正切"},
          {"isc", "反正割"},
          {"icc", "反余割"},
          {"ict", "反余切"}}},
        {"反双曲：",
         {{"ihs", "反双曲正弦"},
          {"ihc", "反双曲余弦"},
          {"iht", "反双曲正切"},
          {"ihsc", "反双曲正割"},
          {"ihcc", "反双曲余割"},
          {"ihct", "反双曲余切"}}},
        {"对数：", {{"ln", "自然对数"}, {"log", "常用对数"}}},
        {"其他：",
         {{"pi", "3.1415..."}, {"e", "e (2.7182...)"}, {"sr", "平方根"}, {"^", "乘方"}, {"ans", "前次得数"}}},
    };
    return groups;
}

QLabel* wrapped(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

FormulaHelpDialog::FormulaHelpDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm公式说明"));
    setWindowTitle(QStringLiteral("公式说明"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(wrapped(QStringLiteral("公式可以支持各种数学符号，除+-*/还支持以下函数。"), this));
    layout->addWidget(wrapped(QStringLiteral("运算符：使用方式为 运算符(参数)，如： sr(4)"), this));

    // The functions, one group a line: its caption, then each name in blue with its meaning.
    auto* functions = new QGridLayout;
    functions->setHorizontalSpacing(6);
    functions->setVerticalSpacing(4);
    int row = 0;
    for (const FunctionGroup& group : functionGroups()) {
        auto* caption = new QLabel(QString::fromUtf8(group.caption), this);
        caption->setStyleSheet("font-weight: bold;");
        functions->addWidget(caption, row, 0, Qt::AlignTop);
        int col = 1;
        for (const FunctionEntry& entry : group.entries) {
            auto* label = new QLabel(QStringLiteral("<span style=\"color:#0000C0\">%1</span> %2")
                                         .arg(QString::fromUtf8(entry.name).toHtmlEscaped(),
                                              QString::fromUtf8(entry.meaning).toHtmlEscaped()),
                                     this);
            label->setTextFormat(Qt::RichText);
            functions->addWidget(label, row, col++);
        }
        ++row;
    }
    functions->setColumnStretch(7, 1);
    layout->addLayout(functions);

    layout->addWidget(wrapped(QStringLiteral("对数据表中数据的引用，请使用“横行行号,纵行序号”的形式，如："
                                             "“cell(1,2)+cell(2,2)”；支持通配“?”代表与本单元格相同的行或列，"
                                             "如：cell(?,1)。公式中，一律使用半角字符。"),
                              this));
    auto* note = wrapped(
        QStringLiteral("另外：使用公式后，是无法立即看出效果的，可以在打印预览中看到打印的结果。"), this);
    note->setStyleSheet("color: #800000;");
    layout->addWidget(note);
    layout->addStretch();

    // The calculator.
    auto* calculator = new QFrame(this);
    calculator->setFrameShape(QFrame::StyledPanel);
    expression_ = new QLineEdit(QStringLiteral("2*3-5+(2^3-5/(6-2))-3+sin(30)"), calculator);
    expression_->setObjectName("Text1");
    result_ = new QLineEdit(calculator);
    result_->setObjectName("Text2");
    result_->setReadOnly(true);
    compute_ = new QPushButton(QStringLiteral("计算"), calculator);
    compute_->setObjectName("Command1");
    compute_->setDefault(true);
    close_ = new QPushButton(QStringLiteral("确定"), this);
    close_->setObjectName("Command2");
    close_->setAutoDefault(false);
    auto* calc = new QGridLayout(calculator);
    calc->addWidget(new QLabel(QStringLiteral("例如："), calculator), 0, 0);
    calc->addWidget(expression_, 0, 1);
    calc->addWidget(compute_, 0, 2);
    calc->addWidget(new QLabel(QStringLiteral("结果："), calculator), 1, 0);
    calc->addWidget(result_, 1, 1);
    calc->setColumnStretch(1, 1);
    layout->addWidget(calculator);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(compute_, &QPushButton::clicked, this, &FormulaHelpDialog::compute);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

void FormulaHelpDialog::compute() {
    const std::string value = EvaluateExpression(expression_->text().toStdString());
    result_->setText(QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void RunFormulaHelp(DialogRunner& runner, QWidget* owner) {
    FormulaHelpDialog dialog(owner);
    runner.run(dialog);
}

}  // namespace scorvane
