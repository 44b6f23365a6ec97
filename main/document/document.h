#pragma once

#include <functional>

#include "common/document_file.h"
#include "main/document/grade_table.h"
#include "main/document/undo_snapshot.h"

namespace scorvane {

// One open grade table with what its window keeps beside the grid: the modified flag, the undo
// snapshot, the state of the Undo command, and what it knows of its file in a folder others may share
// (its lock, the file's state when read or written, read-only). Every command that changes a table
// works on a Document.
class Document {
  public:
    GradeTable table;
    DocumentFile file;

    // The modified flag ("change"): set by every change of the table, never cleared while the
    // document lives; saving leaves it set.
    bool modified() const { return modified_; }
    void setModified() {
        modified_ = true;
        changed();
    }

    // Takes the undo snapshot and enables the Undo command (the bulk commands).
    void takeSnapshot();
    // Takes the same snapshot for the cell editor: the Undo command is left as it is and becomes
    // available when the editor lets go of the focus (see editorLostFocus).
    void takeEditorSnapshot();
    // While the cell editor holds the focus the Undo command is unavailable; when it lets go, Undo is
    // available exactly when the editor took a snapshot since the last undo.
    void editorGotFocus();
    void editorLostFocus();

    bool undoAvailable() const { return undoAvailable_; }
    bool undoReady() const { return undoReady_; }
    const UndoSnapshot& snapshot() const { return snapshot_; }

    // Restores the snapshot; disables the Undo command. Does nothing while undo is unavailable.
    // Undo does not touch the modified flag.
    bool undo();

    // Told every time the Undo command becomes available or unavailable, whichever command or focus
    // change caused it: the one place the window's undo item and the frame's undo button follow.
    void setUndoListener(std::function<void(bool available)> listener) {
        undoListener_ = std::move(listener);
    }

    // Told after every change of the table (each setModified, and an undo), for the recovery copies.
    void setChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }

  private:
    void setUndoAvailable(bool available);
    void changed() {
        if (changeListener_) {
            changeListener_();
        }
    }

    bool modified_ = false;
    bool undoAvailable_ = false;
    bool undoReady_ = false;
    UndoSnapshot snapshot_;
    std::function<void(bool)> undoListener_;
    std::function<void()> changeListener_;
};

}  // namespace scorvane
