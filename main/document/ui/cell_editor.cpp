#include "main/document/ui/cell_editor.h"

#include <QFocusEvent>

namespace scorvane {
namespace {

bool isMoveWithinTheWindow(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

}  // namespace

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName("txtEdit");
    setFrame(false);
}

void CellEditor::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (isMoveWithinTheWindow(event->reason())) {
        emit focusGained();
    }
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (isMoveWithinTheWindow(event->reason())) {
        emit focusLost();
    }
}

}  // namespace scorvane
