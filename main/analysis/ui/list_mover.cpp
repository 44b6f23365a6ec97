#include "main/analysis/ui/list_mover.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace scorvane {

ListMover::ListMover(QListWidget* list, QPushButton* up, QPushButton* down) : QObject(list), list_(list) {
    list_->installEventFilter(this);
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(1); });
}

bool ListMover::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            move(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListMover::move(int by) {
    const int from = list_->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= list_->count()) {
        return;
    }
    list_->insertItem(to, list_->takeItem(from));
    list_->setCurrentRow(to);
}

}  // namespace scorvane
