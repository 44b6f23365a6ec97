#include "main/analysis/ui/analysis_options_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A field's full marks typed into its own row.
constexpr int kOwnFullMarks = Qt::UserRole + 1;

}  // namespace

AnalysisOptionsPanel::AnalysisOptionsPanel(Boxes boxes, QWidget* parent) : QWidget(parent) {
    const bool withBoxes = boxes != Boxes::None;
    fields_ = new QTableWidget(0, withBoxes ? 2 : 1, this);
    fields_->setObjectName("List1");
    fields_->setHorizontalHeaderLabels({QStringLiteral("字段"), QStringLiteral("满分")});
    fields_->verticalHeader()->hide();
    fields_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    if (withBoxes) {
        fields_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    }
    fields_->setSelectionMode(QAbstractItemView::SingleSelection);
    fields_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // Tab goes on to the next control instead of from cell to cell.
    fields_->setTabKeyNavigation(false);
    auto* fieldsLabel = new QLabel(QStringLiteral("字段(&F)："), this);
    fieldsLabel->setBuddy(fields_);

    all_ = new QPushButton(QStringLiteral("全选(&A)"), this);
    all_->setObjectName("Command3");
    all_->setAutoDefault(false);
    none_ = new QPushButton(QStringLiteral("全不选(&N)"), this);
    none_->setObjectName("Command4");
    none_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all_);
    buttons->addWidget(none_);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(fieldsLabel);
    left->addWidget(fields_, 1);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    setTabOrder(fields_, all_);
    setTabOrder(all_, none_);
    if (withBoxes) {
        layout->addLayout(buildBoxes(boxes));
    }

    connect(all_, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(none_, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(fields_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!filling_ && item->column() == 1) {
            item->setData(kOwnFullMarks, true);
            offerFullMarks();
        }
    });
}

QGridLayout* AnalysisOptionsPanel::buildBoxes(Boxes kind) {
    const bool withLines = kind == Boxes::Lines || kind == Boxes::LinesAndBandWidth;
    auto box = [this](const char* name, std::string_view text) {
        auto* edit = new QLineEdit(qs(text), this);
        edit->setObjectName(name);
        edit->setMaximumWidth(80);
        return edit;
    };
    fullMarks_ = box("Text1", kDefaultFullMarks);
    if (withLines) {
        pass_ = box("Text2", kDefaultPassLine);
        excellent_ = box("Text3", kDefaultExcellentLine);
        low_ = box("Text4", kDefaultLowLine);
    }
    if (kind == Boxes::LinesAndBandWidth) {
        bandWidth_ = box("Text5", kDefaultBandWidth);
    }

    auto* boxes = new QGridLayout;
    int row = 0;
    auto addBox = [&](const QString& caption, QLineEdit* edit, const QString& unit) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        boxes->addWidget(label, row, 0);
        boxes->addWidget(edit, row, 1);
        boxes->addWidget(new QLabel(unit, this), row, 2);
        ++row;
    };
    addBox(QStringLiteral("满分(&M)："), fullMarks_, QStringLiteral("分"));
    setTabOrder(none_, fullMarks_);
    if (withLines) {
        addBox(QStringLiteral("及格线(&P)："), pass_, QStringLiteral("%"));
        addBox(QStringLiteral("优秀线(&E)："), excellent_, QStringLiteral("%"));
        addBox(QStringLiteral("低分线(&L)："), low_, QStringLiteral("%"));
        setTabOrder(fullMarks_, pass_);
        setTabOrder(pass_, excellent_);
        setTabOrder(excellent_, low_);
    }
    if (bandWidth_) {
        addBox(QStringLiteral("分数段宽度(&W)："), bandWidth_, QStringLiteral("%"));
    }
    auto* note = new QLabel(withLines ? QStringLiteral("各线为满分的百分比；\n各字段的满分可在列表中修改。")
                                      : QStringLiteral("各字段的满分可在列表中修改。"),
                            this);
    boxes->addWidget(note, row, 0, 1, 3);
    boxes->setRowStretch(row + 1, 1);

    if (bandWidth_) {
        setTabOrder(low_, bandWidth_);
    }
    connect(fullMarks_, &QLineEdit::textChanged, this, &AnalysisOptionsPanel::offerFullMarks);
    return boxes;
}

QWidget* AnalysisOptionsPanel::firstControl() const {
    return fields_;
}

QWidget* AnalysisOptionsPanel::lastControl() const {
    if (bandWidth_) {
        return bandWidth_;
    }
    if (low_) {
        return low_;
    }
    return fullMarks_ ? static_cast<QWidget*>(fullMarks_) : none_;
}

void AnalysisOptionsPanel::setFields(const std::vector<std::string>& fields,
                                     const std::vector<std::string>& ticked, const DerivedFields& derived,
                                     const std::vector<std::pair<std::string, std::string>>& own) {
    filling_ = true;
    derived_ = derived;
    fields_->setRowCount(0);
    fields_->setRowCount(static_cast<int>(fields.size()));
    for (size_t i = 0; i < fields.size(); ++i) {
        auto* name = new QTableWidgetItem(qs(fields[i]));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool tick = std::find(ticked.begin(), ticked.end(), fields[i]) != ticked.end();
        name->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
        fields_->setItem(static_cast<int>(i), 0, name);
        if (!fullMarks_) {
            continue;
        }
        auto* marks = new QTableWidgetItem;
        for (const auto& [field, text] : own) {
            if (field == fields[i]) {
                marks->setText(qs(text));
                marks->setData(kOwnFullMarks, true);
            }
        }
        fields_->setItem(static_cast<int>(i), 1, marks);
    }
    if (!fields.empty()) {
        fields_->setCurrentCell(0, 0);
    }
    filling_ = false;
    offerFullMarks();
}

std::vector<std::pair<std::string, std::string>> AnalysisOptionsPanel::ownFullMarks() const {
    std::vector<std::pair<std::string, std::string>> own;
    for (int r = 0; fullMarks_ && r < fields_->rowCount(); ++r) {
        if (fields_->item(r, 1)->data(kOwnFullMarks).toBool()) {
            own.emplace_back(fields_->item(r, 0)->text().toStdString(),
                             fields_->item(r, 1)->text().toStdString());
        }
    }
    return own;
}

std::vector<std::string> AnalysisOptionsPanel::tickedFields() const {
    std::vector<std::string> out;
    for (int r = 0; r < fields_->rowCount(); ++r) {
        if (fields_->item(r, 0)->checkState() == Qt::Checked) {
            out.push_back(fields_->item(r, 0)->text().toStdString());
        }
    }
    return out;
}

AnalysisTexts AnalysisOptionsPanel::texts() const {
    AnalysisTexts texts;
    for (int r = 0; r < fields_->rowCount(); ++r) {
        if (fields_->item(r, 0)->checkState() == Qt::Checked) {
            const std::string field = fields_->item(r, 0)->text().toStdString();
            texts.fields.push_back(field);
            if (fullMarks_) {
                texts.fieldFullMarks.emplace_back(field, fields_->item(r, 1)->text().toStdString());
            }
        }
    }
    if (!fullMarks_) {
        return texts;
    }
    texts.fullMarks = fullMarks_->text().toStdString();
    if (pass_) {
        texts.pass = pass_->text().toStdString();
        texts.excellent = excellent_->text().toStdString();
        texts.low = low_->text().toStdString();
    }
    if (bandWidth_) {
        texts.bandWidth = bandWidth_->text().toStdString();
    }
    return texts;
}

void AnalysisOptionsPanel::tickAll(bool ticked) {
    for (int r = 0; r < fields_->rowCount(); ++r) {
        fields_->item(r, 0)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

void AnalysisOptionsPanel::offerFullMarks() {
    if (filling_ || !fullMarks_) {
        return;
    }
    const std::vector<std::pair<std::string, std::string>> own = ownFullMarks();
    const std::string common = fullMarks_->text().toStdString();
    filling_ = true;
    for (int r = 0; r < fields_->rowCount(); ++r) {
        QTableWidgetItem* item = fields_->item(r, 1);
        if (!item->data(kOwnFullMarks).toBool()) {
            item->setText(
                qs(OfferedFullMarks(fields_->item(r, 0)->text().toStdString(), own, common, derived_)));
        }
    }
    filling_ = false;
}

bool MayUseFullMarks(const std::string& warning, Prompter& prompter) {
    return warning.empty() ||
           prompter.ask(warning, "询问", Buttons::ContinueOrChange, Icon::Warning, Answer::No) == Answer::Yes;
}

}  // namespace scorvane
