#include "main/formula/ui/find_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "main/document/ui/table_window.h"

namespace scorvane {

FindWindow::FindWindow(TableWindow* table, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), table_(table) {
    setObjectName("frmFind");
    setWindowTitle(QStringLiteral("查找..."));
    setAttribute(Qt::WA_DeleteOnClose);

    find_ = new QLineEdit(this);
    find_->setObjectName("Text1");
    auto makeCheck = [this](const char* name, const QString& text) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(name);
        return box;
    };
    red_ = makeCheck("Check1", QStringLiteral("用红色标记(&R)"));
    bold_ = makeCheck("Check2", QStringLiteral("加粗(&B)"));
    addToMenu_ = makeCheck("Check3", QStringLiteral("添加到菜单"));
    wholeCell_ = makeCheck("Check4", QStringLiteral("全字符匹配(&A)"));
    bluePartial_ = makeCheck("Check5", QStringLiteral("蓝色标记非全字符匹配"));
    red_->setChecked(true);
    addToMenu_->setChecked(true);
    findButton_ = new QPushButton(QStringLiteral("查找(&F)"), this);
    findButton_->setObjectName("Command1");
    findButton_->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName("Command2");

    auto* label = new QLabel(QStringLiteral("输入要查找的文字："), this);
    label->setObjectName("Label1");
    auto* checks = new QGridLayout;
    checks->addWidget(red_, 0, 0);
    checks->addWidget(bold_, 0, 1);
    checks->addWidget(wholeCell_, 1, 0);
    checks->addWidget(bluePartial_, 1, 1);
    checks->addWidget(addToMenu_, 2, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(findButton_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(find_);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    resize(340, 170);

    connect(find_, &QLineEdit::textChanged, this, &FindWindow::updateControls);
    connect(find_, &QLineEdit::returnPressed, this, [this] {
        if (findButton_->isEnabled()) {
            find();
        }
    });
    connect(wholeCell_, &QCheckBox::toggled, this, &FindWindow::updateControls);
    connect(findButton_, &QPushButton::clicked, this, &FindWindow::find);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    updateControls();
    find_->setFocus();
}

QCheckBox* FindWindow::check(const char* objectName) const {
    return findChild<QCheckBox*>(QString::fromUtf8(objectName));
}

void FindWindow::setTable(TableWindow* table) {
    table_ = table;
    updateControls();
}

void FindWindow::updateControls() {
    findButton_->setEnabled(table_ && !find_->text().isEmpty());
    bluePartial_->setEnabled(!wholeCell_->isChecked());
}

void FindWindow::find() {
    if (table_) {
        FindOptions options;
        options.markRed = red_->isChecked();
        options.bold = bold_->isChecked();
        options.wholeCell = wholeCell_->isChecked();
        options.markBluePartial = bluePartial_->isEnabled() && bluePartial_->isChecked();
        table_->find(find_->text().toStdString(), options);
    }
    close();
}

}  // namespace scorvane
