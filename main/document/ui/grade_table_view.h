#pragma once

#include <QTableView>
#include <vector>

#include "main/document/grid_selection.h"

namespace scorvane {

class GradeTableModel;

// The grid of a table window. Its cells are typed into through the window's own cell editor, so the
// view takes the input method's text whatever cell is current, and gaining the focus leaves the
// cursor where the window put it (column 0 after a load) instead of choosing a cell of its own.
//
// The view is the one place where Qt's current index and selection meet the table's selection
// (GridSelection): Row/Col is the current cell, where a selection starts (a click or a plain arrow key
// puts it there), RowSel/ColSel the opposite corner, which a drag, Shift+click or Shift+arrow moves.
// Qt keeps its current index on the corner that moves, so Qt's current index is (RowSel, ColSel) and
// the corner of the selected range opposite it is (Row, Col).
//
// Every row has one height unless set explicitly (no row is measured by its contents); the titles and
// the row numbers are left-aligned headers; the selection shows in the table's colours. The pointer is
// followed over the cells and the headers.
class GradeTableView : public QTableView {
    Q_OBJECT
  public:
    // The grid over `model`'s table, its cells painted by a GradeCellDelegate.
    explicit GradeTableView(GradeTableModel& model, QWidget* parent = nullptr);

    // The selection in table coordinates (row 0 the titles, column 0 the row numbers; the model's
    // cell (r, c) is the table's (r + 1, c + 1)). The current cell may stand where the view has no
    // cell (column 0 after a load): then nothing is selected.
    const GridSelection& gridSelection() const { return selection_; }
    // Selects the range between the two corners, the current cell at (row, col), and scrolls the
    // current cell into view. A corner outside the cells selects nothing.
    void setGridSelection(const GridSelection& selection);

    // Sizes the columns by the one sizing rule of the grid and the printed table (GridColumnWidths,
    // measured in the model's table font) and the rows from that font: a row set to a height of its
    // own keeps it, one given back its height 0 returns to the standard height.
    void applyLayout();
    // The grid's width of every column (column 0 the row numbers), twips.
    std::vector<int> columnWidthsTwips() const;

  signals:
    // The selection changed, by the user's keys and mouse or by setGridSelection.
    void gridSelectionChanged();
    // The user dragged the border of table column `col` to `twips` (applyLayout's widths are not
    // reported).
    void columnWidthDragged(int col, int twips);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

  private:
    // Reads Qt's current index and selection into selection_ once the user's key or mouse action
    // has changed both.
    void readSelection();
    // Runs one of Qt's key or mouse handlers, then reads the selection it left.
    template <typename Handler>
    void asUserAction(Handler handler);
    // Makes `start` Qt's current index and the start of its next Shift selection.
    void startSelectionAt(const QModelIndex& start);

    GradeTableModel& grades_;
    GridSelection selection_ = GridSelection::cell(1, 0);
    // Inside a key or mouse handler, Qt moves its current index before it extends the selection:
    // the selection is read when the handler is done.
    int userAction_ = 0;
    bool writing_ = false;
    // The columns are being sized by applyLayout, not by the user.
    bool layingOut_ = false;
};

}  // namespace scorvane
