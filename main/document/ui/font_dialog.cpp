#include "main/document/ui/font_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/font_size_choices.h"
#include "common/qt/dialog_runner.h"
#include "common/qt/font_names.h"
#include "common/qt/font_preview.h"
#include "common/utf8.h"
#include "main/document/ui/table_font_setting.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr char kPreviewText[] = "字体预览";

}  // namespace

FontDialog::FontDialog(const TableFont& current, QWidget* parent)
    : FontDialog(current, SystemFontNames(), parent) {}

FontDialog::FontDialog(const TableFont& current, const QStringList& fontNames, QWidget* parent)
    : QDialog(parent), opening_(current) {
    setObjectName("frmFont");
    setWindowTitle(QStringLiteral("更改字体："));
    setModal(true);

    name_ = new QLineEdit(this);
    name_->setObjectName("Text1");
    list_ = new QListWidget(this);
    list_->setObjectName("List1");
    for (const QString& name : fontNames) {
        if (!name.isEmpty()) {
            list_->addItem(name);
        }
    }
    size_ = new QComboBox(this);
    size_->setObjectName("Combo1");
    for (const FontSizeChoice& choice : kFontSizeChoices) {
        size_->addItem(qs(choice.caption));
    }
    size_->setMaxVisibleItems(16);
    preview_ = new FontPreview(QString::fromUtf8(kPreviewText), this);
    preview_->setObjectName("Picture1");
    confirm_ = new QPushButton(QStringLiteral("确认(&O)"), this);
    confirm_->setObjectName("Command1");
    confirm_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* nameLabel = new QLabel(QStringLiteral("字体："), this);
    nameLabel->setObjectName("Label1");
    auto* sizeLabel = new QLabel(QStringLiteral("字号："), this);
    sizeLabel->setObjectName("Label2");
    auto* previewLabel = new QLabel(QStringLiteral("预览："), this);
    previewLabel->setObjectName("Label3");

    auto* left = new QVBoxLayout;
    left->addWidget(nameLabel);
    left->addWidget(name_);
    left->addWidget(list_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(sizeLabel);
    right->addWidget(size_);
    right->addSpacing(8);
    right->addWidget(previewLabel);
    right->addWidget(preview_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);
    resize(560, 320);

    size_->setCurrentIndex(1);
    size_->setCurrentIndex(PreselectedFontSize(current.pointSize));
    name_->setText(qs(current.name));
    nameEdited(name_->text());

    connect(name_, &QLineEdit::textChanged, this, &FontDialog::nameEdited);
    connect(list_, &QListWidget::currentItemChanged, this, &FontDialog::listChanged);
    connect(list_, &QListWidget::itemClicked, this, &FontDialog::listChanged);
    connect(size_, &QComboBox::currentIndexChanged, this, &FontDialog::updatePreview);
    connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    updatePreview();
}

QWidget* FontDialog::previewBox() const {
    return preview_;
}

void FontDialog::nameEdited(const QString& text) {
    // The list follows the name typed: the font of that name is selected when the list holds it.
    const QList<QListWidgetItem*> found = list_->findItems(text.trimmed(), Qt::MatchFixedString);
    {
        const QSignalBlocker blocker(list_);
        if (!found.isEmpty()) {
            list_->setCurrentItem(found.first());
            list_->scrollToItem(found.first(), QAbstractItemView::PositionAtCenter);
        } else {
            list_->setCurrentItem(nullptr);
        }
    }
    updatePreview();
}

void FontDialog::listChanged() {
    if (QListWidgetItem* item = list_->currentItem()) {
        if (item->text() != name_->text()) {
            name_->setText(item->text());
        }
    }
}

TableFont FontDialog::chosenFont() const {
    TableFont font;
    const std::string typed = name_->text().toStdString();
    const std::string_view trimmed = TrimSpaces(typed);
    font.name = trimmed.empty() ? opening_.name : std::string(trimmed);
    const int index = size_->currentIndex();
    font.pointSize = index >= 0 ? kFontSizeChoices[static_cast<size_t>(index)].points : opening_.pointSize;
    return font;
}

QFont FontDialog::previewFont() const {
    return preview_->previewFont();
}

void FontDialog::updatePreview() {
    const TableFont chosen = chosenFont();
    QFont font(qs(chosen.name));
    font.setPointSizeF(chosen.pointSize);
    preview_->setPreviewFont(font);
}

std::optional<TableFont> RunFontDialog(const TableFont& current, DialogRunner& runner, QWidget* owner) {
    FontDialog dialog(current, owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    const TableFont chosen = dialog.chosenFont();
    WriteTableFontSetting(chosen);
    return chosen;
}

}  // namespace scorvane
