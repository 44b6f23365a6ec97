#include "main/workspace/ui/frame_toolbar.h"

#include <QAction>
#include <QSignalBlocker>
#include <iterator>

#include "main/workspace/ui/toolbar_pictures.h"

namespace scorvane {
namespace {

// The toolbar, position by position: tool tip and picture.
struct ToolbarEntry {
    int position;
    const char* tip;
    int picture;
};
const ToolbarEntry kButtons[] = {
    {2, "新建/编辑学校关系树", 1},
    {3, "打开", 2},
    {4, "保存", 3},
    {6, "撤消", 16},
    {8, "剪切", 5},
    {9, "复制", 4},
    {10, "粘贴", 6},
    {11, "查找", 8},
    {13, "打印", 7},
    {15, "方向键控制", 14},
    {16, "横向输入", 12},
    {17, "纵向输入", 13},
    {19, "升序排列", 10},
    {20, "降序排列", 11},
    {22, "成绩表属性", 9},
    {24, "帮助", 15},
};

// The buttons that work on the active table; they follow the table windows' activation.
const int kTableButtons[] = {FrameToolbar::kSave,           FrameToolbar::kCut,
                             FrameToolbar::kCopy,           FrameToolbar::kPaste,
                             FrameToolbar::kFind,           FrameToolbar::kPrint,
                             FrameToolbar::kSortAscending,  FrameToolbar::kSortDescending,
                             FrameToolbar::kTableProperties};

}  // namespace

FrameToolbar::FrameToolbar(QWidget* parent) : QToolBar(QStringLiteral("工具栏"), parent) {
    setObjectName("Toolbar1");
    setMovable(false);
    setIconSize(QSize(20, 20));
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    const ToolbarEntry* entry = std::begin(kButtons);
    for (int position = 1; position <= kButtonCount; ++position) {
        QAction* a = nullptr;
        if (entry != std::end(kButtons) && entry->position == position) {
            a = addAction(ToolbarPicture(entry->picture), QString::fromUtf8(entry->tip));
            a->setToolTip(QString::fromUtf8(entry->tip));
            a->setObjectName(QStringLiteral("Button%1").arg(position));
            ++entry;
            if (position == kDirectionKeys || position == kEnterAlongRow || position == kEnterDownColumn) {
                a->setCheckable(true);
                a->setChecked(position != kEnterDownColumn);
                if (position != kDirectionKeys) {
                    connect(a, &QAction::toggled, this,
                            [this, position](bool down) { enterButtonToggled(position, down); });
                }
            } else {
                connect(a, &QAction::triggered, this, [this, position] { emit buttonTriggered(position); });
            }
        } else {
            a = addSeparator();
            a->setObjectName(QStringLiteral("Separator%1").arg(position));
        }
        buttons_ << a;
    }
}

QAction* FrameToolbar::button(int position) const {
    if (position < 1 || position > buttons_.size()) {
        return nullptr;
    }
    return buttons_[position - 1];
}

bool FrameToolbar::enterMovesAlongRow() const {
    return button(kEnterAlongRow)->isChecked();
}

bool FrameToolbar::enterMovesDownColumn() const {
    return button(kEnterDownColumn)->isChecked();
}

void FrameToolbar::showTableState(bool tableActive, bool undoAvailable) {
    for (int position : kTableButtons) {
        button(position)->setEnabled(tableActive);
    }
    setUndoAvailable(tableActive && undoAvailable);
}

void FrameToolbar::setUndoAvailable(bool available) {
    button(kUndo)->setEnabled(available);
}

void FrameToolbar::enterButtonToggled(int position, bool down) {
    // Exactly one of the two stands down: whichever the user moved, the other takes the opposite state.
    QAction* other = button(position == kEnterAlongRow ? kEnterDownColumn : kEnterAlongRow);
    QSignalBlocker block(other);
    other->setChecked(!down);
}

}  // namespace scorvane
