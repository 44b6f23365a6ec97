#include "designer/ui/line_editor_commands.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "designer/line_editing.h"
#include "designer/ui/side_panel.h"

namespace scorvane::designer {

LineEditorCommands::LineEditorCommands(SidePanel& panel, TemplateDocument& doc, QObject* parent)
    : QObject(parent), doc_(doc), boxes_(panel.coordinateBoxes) {
    for (QLineEdit* box : boxes_) {
        box->installEventFilter(this);
    }
    connect(panel.moveHorizontal, &QScrollBar::valueChanged, this,
            [this](int v) { changed(MoveSelectedLine(doc_, Axis::Horizontal, v)); });
    connect(panel.moveVertical, &QScrollBar::valueChanged, this,
            [this](int v) { changed(MoveSelectedLine(doc_, Axis::Vertical, v)); });
    connect(panel.lengthen, &QPushButton::clicked, this,
            [this] { changed(ChangeSelectedLineLength(doc_, kLengthStep)); });
    connect(panel.shorten, &QPushButton::clicked, this,
            [this] { changed(ChangeSelectedLineLength(doc_, -kLengthStep)); });
    connect(panel.copyLine, &QPushButton::clicked, this, [this] {
        if (CopyLastLine(doc_)) {
            emit linesChanged();
        }
    });
    connect(panel.deleteLine, &QPushButton::clicked, this, [this] {
        if (DeleteSelectedLine(doc_)) {
            emit linesChanged();
        }
    });
}

bool LineEditorCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (QLineEdit* box : boxes_) {
            if (watched == box) {
                return coordinateKey(static_cast<QKeyEvent*>(event));
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool LineEditorCommands::coordinateKey(QKeyEvent* key) {
    const BoxKey kind = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter       ? BoxKey::Enter
                        : key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ? BoxKey::Erase
                                                                                          : BoxKey::Other;
    const QString text = key->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint();
    switch (TypeIntoCoordinateBox(doc_, kind, printable ? text.toStdString() : std::string(),
                                  key->modifiers() & Qt::ControlModifier)) {
        case BoxKeyEffect::Commit:
            commitCoordinates();
            return true;
        case BoxKeyEffect::Drop:
            return true;
        case BoxKeyEffect::Pass:
            return false;
    }
    return false;
}

void LineEditorCommands::commitCoordinates() {
    std::array<std::string, 4> texts;
    for (size_t i = 0; i < 4; ++i) {
        texts[i] = boxes_[i]->text().toStdString();
    }
    changed(CommitCoordinates(doc_, texts));
}

void LineEditorCommands::changed(bool done) {
    if (done) {
        emit lineChanged();
    }
}

}  // namespace scorvane::designer
