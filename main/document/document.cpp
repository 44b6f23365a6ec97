#include "main/document/document.h"

namespace scorvane {

void Document::takeSnapshot() {
    snapshot_.take(table);
    undoAvailable_ = true;
}

void Document::takeEditorSnapshot() {
    snapshot_.take(table);
    undoReady_ = true;
}

bool Document::undo() {
    if (!undoAvailable_) {
        return false;
    }
    snapshot_.restore(table);
    undoAvailable_ = false;
    undoReady_ = false;
    return true;
}

}  // namespace scorvane
