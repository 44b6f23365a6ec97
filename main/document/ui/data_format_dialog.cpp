#include "main/document/ui/data_format_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/document/document.h"
#include "main/formula/data_format_choice.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

DataFormatDialog::DataFormatDialog(std::string_view pattern, QWidget* parent) : QDialog(parent) {
    setObjectName("frmDataFormat");
    setWindowTitle(QStringLiteral("表格数据格式："));
    setModal(true);

    decimals_ = new QLineEdit(this);
    decimals_->setObjectName("Text1");
    // Digits only: the count is read by ParseDecimalCount, which holds it to 0 .. 15.
    decimals_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), decimals_));
    decimals_->setMaximumWidth(48);
    decimals_->setAlignment(Qt::AlignRight);
    pad_ = new QCheckBox(QStringLiteral("小数位不足时补位"), this);
    pad_->setObjectName("Check1");
    preview_ = new QLineEdit(this);
    preview_->setObjectName("Text2");
    preview_->setReadOnly(true);
    preview_->setFocusPolicy(Qt::NoFocus);
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* before = new QLabel(QStringLiteral("设置公式结果的精确度:"), this);
    before->setObjectName("Label1");
    auto* after = new QLabel(QStringLiteral("位小数。"), this);
    after->setObjectName("Label2");
    auto* previewLabel = new QLabel(QStringLiteral("预览：(123.456789)"), this);
    previewLabel->setObjectName("Label3");

    auto* count = new QHBoxLayout;
    count->addWidget(before);
    count->addWidget(decimals_);
    count->addWidget(after);
    count->addStretch();
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(previewLabel);
    previewRow->addWidget(preview_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(count);
    layout->addWidget(pad_);
    layout->addLayout(previewRow);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(340, 170);

    const DataFormatChoice opening = ReadDataFormat(pattern);
    decimals_->setText(QString::number(opening.decimals));
    pad_->setChecked(opening.pad);
    updatePreview();

    connect(decimals_, &QLineEdit::textChanged, this, &DataFormatDialog::decimalsEdited);
    connect(pad_, &QCheckBox::toggled, this, &DataFormatDialog::updatePreview);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void DataFormatDialog::decimalsEdited(const QString& text) {
    // An emptied box becomes "0"; leading zeros go (so a digit typed after that "0" replaces it), and
    // a count beyond the largest becomes the largest.
    const QString normal = QString::number(ParseDecimalCount(text.toStdString()));
    if (normal != text) {
        decimals_->setText(normal);  // comes back here once, with nothing left to change
        return;
    }
    updatePreview();
}

std::string DataFormatDialog::pattern() const {
    DataFormatChoice choice;
    choice.decimals = ParseDecimalCount(decimals_->text().toStdString());
    choice.pad = pad_->isChecked();
    return MakeDataFormat(choice);
}

void DataFormatDialog::updatePreview() {
    preview_->setText(qs(DataFormatPreview(pattern())));
}

bool RunDataFormatDialog(Document& document, DialogRunner& runner, QWidget* owner) {
    DataFormatDialog dialog(document.table.dataFormat, owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return false;
    }
    SetDataFormat(document, dialog.pattern());
    return true;
}

}  // namespace scorvane
