#include "main/document/ui/row_column_size_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/document/row_column_sizes.h"

namespace scorvane {

RowColumnSizeDialog::RowColumnSizeDialog(int rowHeightTwips, int columnWidthTwips, QWidget* parent)
    : QDialog(parent), openingHeight_(rowHeightTwips), openingWidth_(columnWidthTwips) {
    setObjectName("frmHeiWei");
    setWindowTitle(QStringLiteral("行高 列宽"));
    setModal(true);

    auto makeBox = [this](const char* name, int size) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), box));
        box->setText(QString::number(size));
        return box;
    };
    height_ = makeBox("Text1", rowHeightTwips);
    width_ = makeBox("Text2", columnWidthTwips);
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* heading = new QLabel(QStringLiteral("把选定处所在的行高、列宽改为："), this);
    heading->setObjectName("Label1");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("行高："), this), 0, 0);
    grid->addWidget(height_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("列宽："), this), 1, 0);
    grid->addWidget(width_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(280, 150);

    connect(height_, &QLineEdit::textChanged, this, [this] { keepNumber(height_, openingHeight_); });
    connect(width_, &QLineEdit::textChanged, this, [this] { keepNumber(width_, openingWidth_); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void RowColumnSizeDialog::keepNumber(QLineEdit* box, int openingSize) {
    const QString text = box->text();
    const QString kept = QString::fromStdString(SizeBoxText(text.toStdString(), openingSize));
    if (kept != text) {
        box->setText(kept);
        box->selectAll();
    }
}

int RowColumnSizeDialog::rowHeight() const {
    return height_->text().toInt();
}

int RowColumnSizeDialog::columnWidth() const {
    return width_->text().toInt();
}

bool RunRowColumnSizeDialog(GradeTable& table, const GridSelection& selection, int rowHeightTwips,
                            int columnWidthTwips, DialogRunner& runner, QWidget* owner) {
    RowColumnSizeDialog dialog(rowHeightTwips, columnWidthTwips, owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return false;
    }
    SetSelectionSizes(table, selection, dialog.rowHeight(), dialog.columnWidth());
    return true;
}

}  // namespace scorvane
