#include "designer/ui/side_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <iterator>

#include "designer/label_editing.h"

namespace scorvane::designer {
namespace {

QLabel* caption(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

QLineEdit* numberBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    // Typed keys are filtered by the window; this keeps pasted text to a whole number too.
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]{0,10}"), box));
    return box;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QComboBox* list(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(12);
    return combo;
}

}  // namespace

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("SidePanel");

    lineListCaption = caption(QStringLiteral("表格线管理："), this);
    lineListCaption->setObjectName("Label8");
    lineListCaption->setMouseTracking(true);
    lineList = list("Combo1", this);
    labelListCaption = caption(QStringLiteral("文字标签管理："), this);
    labelListCaption->setObjectName("Label9");
    labelListCaption->setMouseTracking(true);
    labelList = list("Combo2", this);

    // The line editor.
    lineEditor = new QGroupBox(QStringLiteral("表格线属性："));
    lineEditor->setObjectName("Frame1");
    const char* boxCaptions[] = {"坐标：X1:", "Y1:", "X2:", "Y2:"};
    auto* coordinates = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        coordinateBoxes[static_cast<size_t>(i)] = numberBox(QStringLiteral("Text2(%1)").arg(i), lineEditor);
        auto* c = caption(QString::fromUtf8(boxCaptions[i]), lineEditor);
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        coordinates->addWidget(c, i / 2, (i % 2) * 2);
        coordinates->addWidget(coordinateBoxes[static_cast<size_t>(i)], i / 2, (i % 2) * 2 + 1);
    }
    moveHorizontal = new QScrollBar(Qt::Horizontal, lineEditor);
    moveHorizontal->setObjectName("LH");
    moveVertical = new QScrollBar(Qt::Horizontal, lineEditor);
    moveVertical->setObjectName("LV");
    for (QScrollBar* bar : {moveHorizontal, moveVertical}) {
        bar->setSingleStep(15);  // one screen pixel
        bar->setPageStep(567);   // one centimetre
    }
    auto* moves = new QGridLayout;
    moves->addWidget(caption(QStringLiteral("移动：横向："), lineEditor), 0, 0);
    moves->addWidget(moveHorizontal, 0, 1);
    auto* vertical = caption(QStringLiteral("纵向："), lineEditor);
    vertical->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    moves->addWidget(vertical, 1, 0);
    moves->addWidget(moveVertical, 1, 1);
    lengthen = button("Command8", QStringLiteral("+"), lineEditor);
    shorten = button("Command9", QStringLiteral("-"), lineEditor);
    copyLine = button("Command7", QStringLiteral("复制线条(&C)"), lineEditor);
    deleteLine = button("Command2", QStringLiteral("删除线条(&D)"), lineEditor);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addStretch();
    lengthRow->addWidget(lengthen);
    lengthRow->addWidget(shorten);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(copyLine);
    commandRow->addWidget(deleteLine);
    auto* lineLayout = new QVBoxLayout(lineEditor);
    lineLayout->addLayout(coordinates);
    lineLayout->addLayout(moves);
    lineLayout->addLayout(lengthRow);
    lineLayout->addLayout(commandRow);
    lineLayout->addStretch();

    // The label editor.
    labelEditor = new QGroupBox(QStringLiteral("文字标签："));
    labelEditor->setObjectName("Frame2");
    labelLeft = numberBox("Text4(1)", labelEditor);
    labelTop = numberBox("Text4(0)", labelEditor);
    labelText = new QLineEdit(labelEditor);
    labelText->setObjectName("Text3");
    dataLabel = new QCheckBox(QStringLiteral("引用数据"), labelEditor);
    dataLabel->setObjectName("Check2");
    addLabel = button("Command3", QStringLiteral("添加标签(&A)"), labelEditor);
    deleteLabel = button("Command6", QStringLiteral("删除标签"), labelEditor);
    labelFont = button("Command4", QStringLiteral("更改字体(&F)"), labelEditor);
    labelColor = button("Command5", QStringLiteral("更改颜色(&C)"), labelEditor);
    auto* labelGrid = new QGridLayout;
    labelGrid->addWidget(caption(QStringLiteral("坐标：X:"), labelEditor), 0, 0);
    labelGrid->addWidget(labelLeft, 0, 1);
    labelGrid->addWidget(caption(QStringLiteral("Y:"), labelEditor), 0, 2);
    labelGrid->addWidget(labelTop, 0, 3);
    labelGrid->addWidget(caption(QStringLiteral("标签文字："), labelEditor), 1, 0, 1, 4);
    labelGrid->addWidget(labelText, 2, 0, 1, 4);
    labelGrid->addWidget(dataLabel, 3, 0, 1, 4);
    labelGrid->addWidget(addLabel, 4, 0, 1, 2);
    labelGrid->addWidget(deleteLabel, 4, 2, 1, 2);
    labelGrid->addWidget(labelFont, 5, 0, 1, 2);
    labelGrid->addWidget(labelColor, 5, 2, 1, 2);
    auto* labelLayout = new QVBoxLayout(labelEditor);
    labelLayout->addLayout(labelGrid);
    labelLayout->addStretch();

    editors = new QStackedWidget(this);
    editors->addWidget(lineEditor);
    editors->addWidget(labelEditor);

    // The whole-table moves, as a cross of arrows.
    auto* moveCaption = caption(QStringLiteral("移动整张表格"), this);
    moveCaption->setObjectName("Label14");
    const char* moveNames[] = {"Command10", "Command11", "Command12", "Command13"};
    const char* arrows[] = {"↑", "→", "←", "↓"};
    for (size_t i = 0; i < 4; ++i) {
        tableMoves[i] = button(moveNames[i], QString::fromUtf8(arrows[i]), this);
        tableMoves[i]->setFixedWidth(32);
    }
    auto* cross = new QGridLayout;
    cross->addWidget(tableMoves[0], 0, 1);
    cross->addWidget(tableMoves[2], 1, 0);
    cross->addWidget(tableMoves[1], 1, 2);
    cross->addWidget(tableMoves[3], 2, 1);
    auto* moveRow = new QHBoxLayout;
    moveRow->addWidget(moveCaption);
    moveRow->addLayout(cross);
    moveRow->addStretch();

    // The grid switch, the spacing box and its unit side by side.
    gridSwitch = new QCheckBox(QStringLiteral("网格线"), this);
    gridSwitch->setObjectName("Check1");
    gridSpacing = new QLineEdit(QStringLiteral("0.5"), this);
    gridSpacing->setObjectName("Text1");
    gridSpacing->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), gridSpacing));
    gridSpacing->setFixedWidth(gridSpacing->fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 12);
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(gridSwitch);
    gridRow->addWidget(gridSpacing);
    gridRow->addWidget(caption(QStringLiteral("cm."), this));
    gridRow->addStretch();

    landscape = new QRadioButton(QStringLiteral("纸张横向"), this);
    landscape->setObjectName("Option1");
    portrait = new QRadioButton(QStringLiteral("纸张纵向"), this);
    portrait->setObjectName("Option2");
    portrait->setChecked(true);
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(landscape);
    pageRow->addWidget(portrait);
    pageRow->addStretch();

    // A caption's hover area is its own text, not the width of the panel.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lineListCaption, 0, Qt::AlignLeft);
    layout->addWidget(lineList);
    layout->addWidget(labelListCaption, 0, Qt::AlignLeft);
    layout->addWidget(labelList);
    layout->addWidget(editors);
    layout->addLayout(moveRow);
    layout->addLayout(gridRow);
    layout->addLayout(pageRow);
    layout->addStretch();
    setFixedWidth(250);
    showLineEditor();

    for (QScrollBar* bar : {moveHorizontal, moveVertical}) {
        bar->setFocusPolicy(Qt::StrongFocus);
    }
    QWidget* order[] = {lineList,
                        coordinateBoxes[0],
                        coordinateBoxes[1],
                        coordinateBoxes[2],
                        coordinateBoxes[3],
                        moveHorizontal,
                        moveVertical,
                        lengthen,
                        shorten,
                        copyLine,
                        deleteLine,
                        labelList,
                        labelLeft,
                        labelTop,
                        labelText,
                        dataLabel,
                        addLabel,
                        deleteLabel,
                        labelFont,
                        labelColor,
                        tableMoves[0],
                        tableMoves[2],
                        tableMoves[1],
                        tableMoves[3],
                        gridSwitch,
                        gridSpacing,
                        landscape,
                        portrait};
    for (size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }

    for (QWidget* w : {static_cast<QWidget*>(lineListCaption), static_cast<QWidget*>(labelListCaption),
                       static_cast<QWidget*>(lineList), static_cast<QWidget*>(lineList->lineEdit()),
                       static_cast<QWidget*>(labelList), static_cast<QWidget*>(labelList->lineEdit())}) {
        w->installEventFilter(this);
    }
}

bool SidePanel::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::MouseMove) {
        if (watched == lineListCaption) {
            showLineEditor();
        } else if (watched == labelListCaption) {
            showLabelEditor();
        }
    } else if (type == QEvent::FocusIn) {
        if (watched == lineList || watched == lineList->lineEdit()) {
            showLineEditor();
        } else if (watched == labelList || watched == labelList->lineEdit()) {
            showLabelEditor();
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool SidePanel::takeAltKey(QKeyEvent* key) {
    if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) != Qt::AltModifier) {
        return false;
    }
    QWidget* focus = QApplication::focusWidget();
    const bool inLabelEditor =
        !lineEditorShown() && focus &&
        (labelEditor->isAncestorOf(focus) || focus == labelList || focus == labelList->lineEdit());
    if (key->key() == Qt::Key_F && inLabelEditor) {
        if (key->type() == QEvent::ShortcutOverride) {
            key->accept();  // the key comes as a key press instead of opening "文件(&F)"
        } else {
            labelFont->animateClick();
        }
        return true;
    }
    // No shortcut took the key: the letter of a hidden button is not typed either.
    const QString text = key->text();
    return key->type() == QEvent::KeyPress && !text.isEmpty() && text.at(0).isPrint();
}

void SidePanel::showLine(const std::optional<LineCoordinates>& coordinates) {
    if (!coordinates) {
        for (QLineEdit* box : coordinateBoxes) {
            box->clear();
        }
        return;
    }
    const LineCoordinates& xy = *coordinates;
    for (size_t i = 0; i < 4; ++i) {
        if (xy[i]) {
            coordinateBoxes[i]->setText(QString::number(*xy[i]));
        }
    }
    const std::pair<QScrollBar*, std::optional<long long>> bars[] = {{moveHorizontal, xy[0]},
                                                                     {moveVertical, xy[1]}};
    for (const auto& [bar, value] : bars) {
        if (value && *value >= bar->minimum() && *value <= bar->maximum()) {
            const QSignalBlocker quiet(bar);
            bar->setValue(static_cast<int>(*value));
        }
    }
}

void SidePanel::showPage(bool landscapePage, long long width, long long height) {
    {
        const QSignalBlocker quietLandscape(landscape);
        const QSignalBlocker quietPortrait(portrait);
        (landscapePage ? landscape : portrait)->setChecked(true);
    }
    for (auto [bar, max] : {std::pair{moveHorizontal, width}, std::pair{moveVertical, height}}) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, static_cast<int>(max));
    }
}

void SidePanel::showLabel(const TemplateLabel* label) {
    if (label) {
        labelLeft->setText(QString::fromStdString(FormatShortestReal(label->left)));
        labelTop->setText(QString::fromStdString(FormatShortestReal(label->top)));
        labelText->setText(QString::fromStdString(LabelEditorText(*label)));
        dataLabel->setChecked(IsDataLabel(*label));
    } else {
        // (setText, not clear(): clearing counts as an edit of the caption box)
        labelLeft->setText(QString());
        labelTop->setText(QString());
        labelText->setText(QString());
        dataLabel->setChecked(false);
    }
}

bool SidePanel::lineEditorShown() const {
    return editors->currentWidget() == lineEditor;
}

bool SidePanel::focusNextPrevChild(bool next) {
    // Back from the whole-table moves into the line editor in view: the label list, which stands
    // between the two editors in the Tab order, would bring the label editor forward instead.
    if (!next && lineEditorShown() && QApplication::focusWidget() == tableMoves[0]) {
        deleteLine->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void SidePanel::showLineEditor() {
    editors->setCurrentWidget(lineEditor);
}

void SidePanel::showLabelEditor() {
    editors->setCurrentWidget(labelEditor);
}

}  // namespace scorvane::designer
