#pragma once

#include "main/document/grade_table.h"
#include "main/document/undo_snapshot.h"

namespace scorvane {

// One open grade table with what its window keeps beside the grid: the modified flag, the undo
// snapshot and the state of the Undo command. Every command that changes a table works on a Document.
class Document {
  public:
    GradeTable table;

    // The modified flag ("change"): set by every change of the table, never cleared while the
    // document lives; saving leaves it set.
    bool modified() const { return modified_; }
    void setModified() { modified_ = true; }

    // Takes the undo snapshot and enables the Undo command (the bulk commands).
    void takeSnapshot();
    // Takes the same snapshot for the cell editor: the Undo command is left as it is and becomes
    // available when the editor lets go of the focus (see editorLostFocus).
    void takeEditorSnapshot();
    void editorGotFocus() { undoAvailable_ = false; }
    void editorLostFocus() { undoAvailable_ = undoReady_; }

    bool undoAvailable() const { return undoAvailable_; }
    bool undoReady() const { return undoReady_; }
    const UndoSnapshot& snapshot() const { return snapshot_; }

    // Restores the snapshot; disables the Undo command. Does nothing while undo is unavailable.
    // Undo does not touch the modified flag.
    bool undo();

  private:
    bool modified_ = false;
    bool undoAvailable_ = false;
    bool undoReady_ = false;
    UndoSnapshot snapshot_;
};

}  // namespace scorvane
