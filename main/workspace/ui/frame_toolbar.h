#pragma once

#include <QList>
#include <QToolBar>

class QAction;

namespace scorvane {

// The frame's toolbar (Toolbar1): 24 positions, each a button (Button<n>) or a separator
// (Separator<n>). The buttons that work on a table follow the active table; the two Enter buttons are
// two-state and exactly one of them stands down; every other button reports its position when pressed.
class FrameToolbar : public QToolBar {
    Q_OBJECT
  public:
    // Toolbar positions (separators count, as on the toolbar itself).
    enum Button {
        kSchoolTree = 2,
        kOpen = 3,
        kSave = 4,
        kUndo = 6,
        kCut = 8,
        kCopy = 9,
        kPaste = 10,
        kFind = 11,
        kPrint = 13,
        kDirectionKeys = 15,
        kEnterAlongRow = 16,
        kEnterDownColumn = 17,
        kSortAscending = 19,
        kSortDescending = 20,
        kTableProperties = 22,
        kHelp = 24,
    };
    static constexpr int kButtonCount = 24;

    explicit FrameToolbar(QWidget* parent = nullptr);

    // The button or separator at `position` (1 .. 24), nullptr outside.
    QAction* button(int position) const;

    // Which way Enter moves in a table: along the row (button 16 down) or down the column (17 down).
    bool enterMovesAlongRow() const;
    bool enterMovesDownColumn() const;

    // The table buttons for the active table (none: all off); Undo as the table's undo is available.
    void showTableState(bool tableActive, bool undoAvailable);
    void setUndoAvailable(bool available);

  signals:
    // A button other than the two-state ones was pressed.
    void buttonTriggered(int position);

  private:
    void enterButtonToggled(int position, bool down);

    QList<QAction*> buttons_;  // index 0 is position 1
};

}  // namespace scorvane
