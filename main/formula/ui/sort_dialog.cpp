#include "main/formula/ui/sort_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/prompter.h"

namespace scorvane {

SortDialog::SortDialog(Document& document, int currentCol, bool descending, Prompter& prompter,
                       QWidget* parent)
    : QDialog(parent), document_(document), prompter_(prompter) {
    setObjectName(QStringLiteral("frm排序"));
    setWindowTitle(QStringLiteral("排序："));
    setModal(true);

    sortField_ = new QComboBox(this);
    sortField_->setObjectName("Combo1");
    rankField_ = new QComboBox(this);
    rankField_->setObjectName("Combo2");
    sortField_->setMinimumWidth(140);
    rankField_->setMinimumWidth(140);
    const std::vector<std::string> fields = SortFieldList(document.table);
    fieldCount_ = static_cast<int>(fields.size());
    for (const std::string& field : fields) {
        sortField_->addItem(QString::fromStdString(field));
        rankField_->addItem(QString::fromStdString(field));
    }

    auto* frame = new QGroupBox(QStringLiteral("排序方式："), this);
    frame->setObjectName("Frame2");
    ascending_ = new QRadioButton(QStringLiteral("升序"), frame);
    ascending_->setObjectName("Option1");
    descending_ = new QRadioButton(QStringLiteral("降序"), frame);
    descending_->setObjectName("Option2");
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(ascending_);
    frameLayout->addWidget(descending_);

    writeRanks_ = new QCheckBox(QStringLiteral("将排序结果写入："), this);
    writeRanks_->setObjectName("Check1");
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* label1 = new QLabel(QStringLiteral("根据字段："), this);
    label1->setObjectName("Label1");
    auto* label2 = new QLabel(QStringLiteral("排序。"), this);
    label2->setObjectName("Label2");
    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(sortField_, 0, 1);
    grid->addWidget(label2, 0, 2);
    grid->addWidget(frame, 1, 0, 1, 3);
    grid->addWidget(writeRanks_, 2, 0);
    grid->addWidget(rankField_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    const SortChoice start = InitialSortChoice(document.table, currentCol, descending);
    sortField_->setCurrentIndex(start.sortField);
    rankField_->setCurrentIndex(start.rankField);
    (start.descending ? descending_ : ascending_)->setChecked(true);
    writeRanks_->setChecked(false);
    rankField_->setEnabled(false);

    connect(writeRanks_, &QCheckBox::toggled, this, [this](bool on) {
        rankField_->setEnabled(on);
        keepFieldsApart();
    });
    connect(sortField_, &QComboBox::currentIndexChanged, this, &SortDialog::keepFieldsApart);
    connect(rankField_, &QComboBox::currentIndexChanged, this, &SortDialog::keepFieldsApart);
    connect(ok_, &QPushButton::clicked, this, &SortDialog::sort);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

SortChoice SortDialog::choice() const {
    SortChoice c;
    c.sortField = sortField_->currentIndex();
    c.descending = descending_->isChecked();
    c.writeRanks = writeRanks_->isChecked();
    c.rankField = rankField_->currentIndex();
    return c;
}

void SortDialog::keepFieldsApart() {
    if (adjusting_) {
        return;
    }
    SortChoice c = choice();
    if (!KeepSortFieldsApart(c, fieldCount_, prompter_)) {
        return;
    }
    adjusting_ = true;
    rankField_->setCurrentIndex(c.rankField);
    writeRanks_->setChecked(c.writeRanks);
    rankField_->setEnabled(c.writeRanks);
    adjusting_ = false;
}

void SortDialog::sort() {
    RunSort(document_, choice());
    accept();
}

}  // namespace scorvane
