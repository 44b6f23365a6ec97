#include "main/formula/ui/replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "main/formula/replace_text.h"

namespace scorvane {

ReplaceDialog::ReplaceDialog(Document& document, const QString& findText, QWidget* parent)
    : QDialog(parent), document_(document) {
    setObjectName("frmChang");
    setWindowTitle(QStringLiteral("替换"));
    setModal(true);

    find_ = new QLineEdit(findText, this);
    find_->setObjectName("Text1");
    replacement_ = new QLineEdit(this);
    replacement_->setObjectName("Text2");
    wholeCell_ = new QCheckBox(QStringLiteral("全字符匹配"), this);
    wholeCell_->setObjectName("Check1");
    replace_ = new QPushButton(QStringLiteral("全部替换(&C)"), this);
    replace_->setObjectName("Command1");
    replace_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("Command2");

    auto* label1 = new QLabel(QStringLiteral("要查找的文字："), this);
    label1->setObjectName("Label1");
    auto* label2 = new QLabel(QStringLiteral("要替换的文字："), this);
    label2->setObjectName("Label2");
    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(find_, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(replacement_, 1, 1);
    grid->addWidget(wholeCell_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(replace_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(360, 140);

    connect(find_, &QLineEdit::textChanged, this, &ReplaceDialog::updateButton);
    connect(replacement_, &QLineEdit::textChanged, this, &ReplaceDialog::updateButton);
    connect(replace_, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    updateButton();
    find_->setFocus();
}

void ReplaceDialog::updateButton() {
    replace_->setEnabled(CanReplace(find_->text().toStdString(), replacement_->text().toStdString()));
}

void ReplaceDialog::replaceAll() {
    replaced_ = ReplaceInTable(document_, find_->text().toStdString(), replacement_->text().toStdString(),
                               wholeCell_->isChecked());
    accept();
}

}  // namespace scorvane
