#include "designer/ui/label_font_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
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

namespace scorvane::designer {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The styles in list order: regular, italic, bold, bold italic.
const char* const kStyles[] = {"常规", "斜体", "粗体", "粗斜体"};
int styleIndex(bool bold, bool italic) {
    return (bold ? 2 : 0) + (italic ? 1 : 0);
}

// A size as the size box shows it: "12", "10.5".
QString sizeText(double points) {
    return QString::number(points, 'g', 6);
}

// The points of a typed size: a number, or a Chinese size name; nullopt otherwise.
std::optional<double> parseSize(const QString& typed) {
    const QString text = typed.trimmed();
    for (const FontSizeChoice& choice : kFontSizeChoices) {
        if (text == qs(choice.caption)) {
            return choice.points;
        }
    }
    bool ok = false;
    const double points = text.toDouble(&ok);
    if (!ok || !(points >= kMinLabelFontSize) || points > kMaxLabelFontSize) {
        return std::nullopt;
    }
    return points;
}

QListWidget* listBox(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    return list;
}

}  // namespace

LabelFontDialog::LabelFontDialog(const LabelFontChoice& start, const QStringList& fontNames, QWidget* parent)
    : QDialog(parent), start_(start) {
    setObjectName("frmLabelFont");
    setWindowTitle(QStringLiteral("字体"));
    setModal(true);

    name_ = new QLineEdit(this);
    name_->setObjectName("txtFontName");
    names_ = listBox("lstFontName", this);
    for (const QString& n : fontNames) {
        if (!n.isEmpty()) {
            names_->addItem(n);
        }
    }
    styles_ = listBox("lstFontStyle", this);
    for (const char* style : kStyles) {
        styles_->addItem(QString::fromUtf8(style));
    }
    size_ = new QLineEdit(this);
    size_->setObjectName("txtFontSize");
    sizes_ = listBox("lstFontSize", this);
    for (const FontSizeChoice& choice : kFontSizeChoices) {
        sizes_->addItem(qs(choice.caption));
    }
    strikethru_ = new QCheckBox(QStringLiteral("删除线(&K)"), this);
    strikethru_->setObjectName("chkStrikethru");
    underline_ = new QCheckBox(QStringLiteral("下划线(&U)"), this);
    underline_->setObjectName("chkUnderline");
    sample_ = new FontPreview(QStringLiteral("中文字体 AaBbYyZz"), this);
    sample_->setObjectName("picSample");

    auto* nameCaption = new QLabel(QStringLiteral("字体(&F)："), this);
    nameCaption->setBuddy(name_);
    auto* styleCaption = new QLabel(QStringLiteral("字形(&Y)："), this);
    styleCaption->setBuddy(styles_);
    auto* sizeCaption = new QLabel(QStringLiteral("大小(&S)："), this);
    sizeCaption->setBuddy(size_);

    auto* choices = new QGridLayout;
    choices->addWidget(nameCaption, 0, 0);
    choices->addWidget(name_, 1, 0);
    choices->addWidget(names_, 2, 0);
    choices->addWidget(styleCaption, 0, 1);
    choices->addWidget(styles_, 1, 1, 2, 1);
    choices->addWidget(sizeCaption, 0, 2);
    choices->addWidget(size_, 1, 2);
    choices->addWidget(sizes_, 2, 2);
    choices->setColumnStretch(0, 3);
    choices->setColumnStretch(1, 2);
    choices->setColumnStretch(2, 1);

    auto* effects = new QGroupBox(QStringLiteral("效果"), this);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(strikethru_);
    effectsLayout->addWidget(underline_);
    effectsLayout->addStretch();
    auto* sampleBox = new QGroupBox(QStringLiteral("示例"), this);
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(sample_);
    auto* lower = new QHBoxLayout;
    lower->addWidget(effects);
    lower->addWidget(sampleBox, 1);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName("cmdOK");
    ok_->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices, 1);
    layout->addLayout(lower);
    layout->addWidget(buttons);
    resize(520, 420);

    // The starting values.
    name_->setText(qs(start.name));
    nameEdited(name_->text());
    styles_->setCurrentRow(styleIndex(start.bold, start.italic));
    size_->setText(sizeText(start.size));
    sizeEdited(size_->text());
    strikethru_->setChecked(start.strikethru);
    underline_->setChecked(start.underline);

    connect(name_, &QLineEdit::textEdited, this, &LabelFontDialog::nameEdited);
    connect(names_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty() && text != name_->text()) {
            name_->setText(text);
        }
        updateSample();
    });
    connect(size_, &QLineEdit::textEdited, this, &LabelFontDialog::sizeEdited);
    connect(sizes_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty() && text != size_->text()) {
            size_->setText(text);
        }
        updateSample();
    });
    connect(styles_, &QListWidget::currentRowChanged, this, &LabelFontDialog::updateSample);
    connect(strikethru_, &QCheckBox::toggled, this, &LabelFontDialog::updateSample);
    connect(underline_, &QCheckBox::toggled, this, &LabelFontDialog::updateSample);
    connect(names_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    updateSample();
}

void LabelFontDialog::nameEdited(const QString& text) {
    // The list follows the name typed: the font of that name is selected when the list holds it.
    const QList<QListWidgetItem*> found = names_->findItems(text.trimmed(), Qt::MatchFixedString);
    {
        const QSignalBlocker quiet(names_);
        names_->setCurrentItem(found.isEmpty() ? nullptr : found.first());
        if (!found.isEmpty()) {
            names_->scrollToItem(found.first(), QAbstractItemView::PositionAtCenter);
        }
    }
    updateSample();
}

void LabelFontDialog::sizeEdited(const QString& text) {
    const QList<QListWidgetItem*> found = sizes_->findItems(text.trimmed(), Qt::MatchFixedString);
    {
        const QSignalBlocker quiet(sizes_);
        sizes_->setCurrentItem(found.isEmpty() ? nullptr : found.first());
        if (!found.isEmpty()) {
            sizes_->scrollToItem(found.first());
        }
    }
    updateSample();
}

LabelFontChoice LabelFontDialog::chosenFont() const {
    LabelFontChoice font;
    const std::string typed = name_->text().toStdString();
    const std::string_view trimmed = TrimSpaces(typed);
    font.name = trimmed.empty() ? start_.name : std::string(trimmed);
    const int style =
        styles_->currentRow() < 0 ? styleIndex(start_.bold, start_.italic) : styles_->currentRow();
    font.bold = style >= 2;
    font.italic = style % 2 == 1;
    font.size = parseSize(size_->text()).value_or(start_.size);
    font.strikethru = strikethru_->isChecked();
    font.underline = underline_->isChecked();
    return font;
}

void LabelFontDialog::updateSample() {
    const LabelFontChoice chosen = chosenFont();
    QFont font(qs(chosen.name));
    font.setPointSizeF(std::min(chosen.size, 72.0));
    font.setBold(chosen.bold);
    font.setItalic(chosen.italic);
    font.setStrikeOut(chosen.strikethru);
    font.setUnderline(chosen.underline);
    sample_->setPreviewFont(font);
}

std::optional<LabelFontChoice> RunLabelFontDialog(const LabelFontChoice& start, DialogRunner& runner,
                                                  QWidget* owner) {
    LabelFontDialog dialog(start, SystemFontNames(), owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosenFont();
}

}  // namespace scorvane::designer
