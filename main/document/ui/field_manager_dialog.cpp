#include "main/document/ui/field_manager_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"

namespace scorvane {

FieldManagerDialog::FieldManagerDialog(FieldManager& manager, Document& document, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), manager_(manager), document_(document), prompter_(prompter) {
    setObjectName(QStringLiteral("frm项目管理"));
    setWindowTitle(QStringLiteral("字段编辑器"));
    setModal(true);

    list_ = new QListWidget(this);
    list_->setObjectName("List1");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    insert_ = button("Command1", QStringLiteral("< 插入(&A)"));
    remove_ = button("Command2", QStringLiteral("> 删除(&D)"));
    clear_ = button("Command3", QStringLiteral("清空(&C)"));
    rename_ = button("Command4", QStringLiteral("重命名(&R)"));
    ok_ = button("Command5", QStringLiteral("确定(&O)"));
    ok_->setDefault(true);
    cancel_ = button("Command6", QStringLiteral("取消"));

    auto* listLabel = new QLabel(QStringLiteral("项目列表："), this);
    listLabel->setObjectName("Label1");
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list_, 1);
    auto* right = new QVBoxLayout;
    right->addSpacing(listLabel->sizeHint().height());
    for (QPushButton* b : {insert_, remove_, clear_, rename_}) {
        right->addWidget(b);
    }
    right->addStretch();
    right->addWidget(ok_);
    right->addWidget(cancel_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    resize(360, 320);

    showItems();
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { manager_.select(row); });
    connect(insert_, &QPushButton::clicked, this, [this] { run(&FieldManager::insert); });
    connect(remove_, &QPushButton::clicked, this, [this] { run(&FieldManager::remove); });
    connect(clear_, &QPushButton::clicked, this, [this] { run(&FieldManager::clear); });
    connect(rename_, &QPushButton::clicked, this, [this] { run(&FieldManager::rename); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        manager_.accept(document_);
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FieldManagerDialog::showItems() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (const std::string& item : manager_.items()) {
        list_->addItem(QString::fromStdString(item));
    }
    list_->setCurrentRow(manager_.selected());
    if (manager_.selected() >= 0) {
        list_->scrollToItem(list_->currentItem());
    }
}

void FieldManagerDialog::run(void (FieldManager::*command)(Prompter&)) {
    (manager_.*command)(prompter_);
    showItems();
    list_->setFocus();
}

FieldManager& SharedFieldManager() {
    static FieldManager manager;
    return manager;
}

bool OpenFieldManager(Document& document, Prompter& prompter, DialogRunner& runner, QWidget* owner) {
    SharedFieldManager().open(document);
    return RunFieldManagerDialog(document, prompter, runner, owner);
}

bool RunFieldManagerDialog(Document& document, Prompter& prompter, DialogRunner& runner, QWidget* owner) {
    FieldManagerDialog dialog(SharedFieldManager(), document, prompter, owner);
    return runner.run(dialog) == QDialog::Accepted;
}

}  // namespace scorvane
