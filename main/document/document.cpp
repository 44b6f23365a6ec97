#include "main/document/document.h"

namespace scorvane {

void Document::setUndoAvailable(bool available) {
    if (available == undoAvailable_) {
        return;
    }
    undoAvailable_ = available;
    if (undoListener_) {
        undoListener_(available);
    }
}

void Document::takeSnapshot() {
    snapshot_.take(table);
    setUndoAvailable(true);
}

void Document::takeEditorSnapshot() {
    snapshot_.take(table);
    undoReady_ = true;
}

void Document::editorGotFocus() {
    setUndoAvailable(false);
}

void Document::editorLostFocus() {
    setUndoAvailable(undoReady_);
}

bool Document::undo() {
    if (!undoAvailable_) {
        return false;
    }
    snapshot_.restore(table);
    undoReady_ = false;
    setUndoAvailable(false);
    changed();
    return true;
}

}  // namespace scorvane
