#include "main/document/ui/grade_table_view.h"

#include <QFocusEvent>

#include "main/document/ui/grid_scroll_bar.h"

namespace scorvane {

GradeTableView::GradeTableView(QWidget* parent) : QTableView(parent) {
    setVerticalScrollBar(new GridScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal, this));
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void GradeTableView::setGridSelection(const GridSelection& selection) {
    const QModelIndex start = model()->index(selection.row - 1, selection.col - 1);
    const QModelIndex far = model()->index(selection.rowSel - 1, selection.colSel - 1);
    const bool scroll = hasAutoScroll();
    writing_ = true;
    // Qt would scroll to its current index, the far corner; the view shows the current cell.
    setAutoScroll(false);
    if (start.isValid() && far.isValid()) {
        startSelectionAt(start);
        selectionModel()->setCurrentIndex(far, QItemSelectionModel::NoUpdate);
        selectionModel()->select(QItemSelection(start, far), QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    }
    setAutoScroll(scroll);
    writing_ = false;
    if (start.isValid()) {
        scrollTo(start);
    }
    if (selection != selection_) {
        selection_ = selection;
        emit gridSelectionChanged();
    }
}

void GradeTableView::startSelectionAt(const QModelIndex& start) {
    // With writing_ set the selection command is a plain one, so Qt takes the index as the start of
    // the next Shift selection, whatever keys are held at the moment.
    const bool wasWriting = writing_;
    writing_ = true;
    QAbstractItemView::setCurrentIndex(start);
    writing_ = wasWriting;
}

QItemSelectionModel::SelectionFlags GradeTableView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (writing_) {
        return QItemSelectionModel::ClearAndSelect;
    }
    return QTableView::selectionCommand(index, event);
}

QModelIndex GradeTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // A move without Shift goes from the current cell, where the selection started, not from the
    // far corner where Qt keeps its current index.
    if (!(modifiers & Qt::ShiftModifier)) {
        const QModelIndex start = model()->index(selection_.row - 1, selection_.col - 1);
        if (start.isValid() && start != currentIndex()) {
            startSelectionAt(start);
        }
    }
    return QTableView::moveCursor(action, modifiers);
}

void GradeTableView::readSelection() {
    if (writing_ || userAction_ > 0) {
        return;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        // The current cell stays where it was put (column 0, or a table without cells).
        return;
    }
    GridSelection read = GridSelection::cell(current.row() + 1, current.column() + 1);
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.contains(current)) {
            read.row = (current.row() == range.top() ? range.bottom() : range.top()) + 1;
            read.col = (current.column() == range.left() ? range.right() : range.left()) + 1;
            break;
        }
    }
    if (read != selection_) {
        selection_ = read;
        emit gridSelectionChanged();
    }
}

template <typename Handler>
void GradeTableView::asUserAction(Handler handler) {
    ++userAction_;
    handler();
    --userAction_;
    readSelection();
}

void GradeTableView::keyPressEvent(QKeyEvent* event) {
    asUserAction([&] { QTableView::keyPressEvent(event); });
}

void GradeTableView::mousePressEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mousePressEvent(event); });
}

void GradeTableView::mouseMoveEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mouseMoveEvent(event); });
}

void GradeTableView::mouseReleaseEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mouseReleaseEvent(event); });
}

void GradeTableView::focusInEvent(QFocusEvent* event) {
    // The item view would make its first cell current here, and the widget would repaint itself
    // whole: frame, headers and scroll bars, on every key that opens or closes the cell editor. Only
    // the cells show the focus (the current cell's frame).
    event->accept();
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->update();
}

void GradeTableView::focusOutEvent(QFocusEvent* event) {
    // As focusInEvent: the cells alone are painted again.
    event->accept();
    viewport()->update();
}

void GradeTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The item view takes the input method away from cells it cannot edit itself.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    readSelection();
}

void GradeTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    readSelection();
}

}  // namespace scorvane
