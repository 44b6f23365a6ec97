#include "main/document/ui/cell_editor.h"

#include <QFocusEvent>
#include <QKeyEvent>

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

void CellEditor::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            emit enterPressed();
            return;
        case Qt::Key_Escape:
            event->accept();
            emit escapePressed();
            return;
        case Qt::Key_Up:
            event->accept();
            emit upPressed();
            return;
        case Qt::Key_Down:
            event->accept();
            emit downPressed();
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
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
