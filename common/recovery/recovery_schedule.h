#pragma once

#include <cstdint>
#include <optional>

namespace scorvane {

// When the next recovery copy of a document with unsaved changes is due. Times are readings of a
// steady clock in milliseconds.
//
// The first change after the last copy (or after the document last matched its file) makes a copy
// due one interval later; later changes before that copy ride along with it, so a document being
// edited is copied at most once an interval and a change waits at most one interval. A command that
// changed many cells at once makes the copy due at once. An interval of 0 turns the copies off.
class RecoverySchedule {
  public:
    explicit RecoverySchedule(int64_t intervalMillis) : interval_(intervalMillis) {}

    bool enabled() const { return interval_ > 0; }

    // The document changed.
    void edited(int64_t now);
    // A command changed many cells (an import, a sort, a replace, a paste of several cells): when
    // there are changes not yet copied, the copy is due now.
    void changedInBulk(int64_t now);
    // A copy of the document as it stands now was taken: nothing is due until the next change.
    void copied();
    // The document matches its file again, or its changes were discarded: nothing is due.
    void settled();

    // When the next copy is due; nothing while every change is copied (or the copies are off).
    std::optional<int64_t> due() const { return due_; }

  private:
    int64_t interval_;
    std::optional<int64_t> due_;
};

}  // namespace scorvane
