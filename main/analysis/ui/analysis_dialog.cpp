#include "main/analysis/ui/analysis_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"

namespace scorvane {

AnalysisDialog::AnalysisDialog(const char* objectName, const QString& caption, const QString& explanation,
                               Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    auto* text = new QLabel(explanation, this);
    text->setObjectName("Label1");
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
}

void AnalysisDialog::setChoices(QLayout* choices, QWidget* lastChoice) {
    // The buttons are made after the choices, so the focus starts at the first choice and Tab follows
    // the reading order.
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");
    connect(ok_, &QPushButton::clicked, this, &AnalysisDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->addLayout(choices, 1);
    layout->addLayout(buttons);
    setTabOrder(lastChoice, ok_);
    setTabOrder(ok_, cancel_);
}

void AnalysisDialog::confirm() {
    AnalysisResult outcome = compute();
    if (!TellAnalysisResult(outcome, prompter_)) {
        return;
    }
    result_ = std::move(outcome.table);
    accept();
}

std::optional<GradeTable> RunAnalysisDialog(AnalysisDialog& dialog, DialogRunner& runner) {
    runner.run(dialog);
    return std::move(dialog.result());
}

}  // namespace scorvane
