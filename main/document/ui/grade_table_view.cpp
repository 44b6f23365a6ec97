#include "main/document/ui/grade_table_view.h"

namespace scorvane {

GradeTableView::GradeTableView(QWidget* parent) : QTableView(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

void GradeTableView::focusInEvent(QFocusEvent* event) {
    // The item view would make its first cell current here; the scroll area's handling is all the
    // grid needs.
    QAbstractScrollArea::focusInEvent(event);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->update();
}

void GradeTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The item view takes the input method away from cells it cannot edit itself.
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

}  // namespace scorvane
