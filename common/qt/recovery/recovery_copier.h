#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "common/recovery/recovery_info.h"
#include "common/recovery/recovery_schedule.h"

namespace scorvane {

class RecoveryStore;

// Keeps the recovery copy of one document (a table window's table, the designer's template): follows
// its changes through a RecoverySchedule and, when a copy is due, takes what the copy needs on the
// interface thread and leaves the rest (making the bytes, writing them) to the store's writer thread.
// The copy is removed when the document matches its file again or its changes are given up; a copier
// that simply goes away (a program ending otherwise) leaves it for the next start.
class RecoveryCopier : public QObject {
    Q_OBJECT
  public:
    // Runs on the interface thread when a copy is due: copies what the bytes are made of and returns
    // the work that makes them, which runs on the writer's thread.
    using Take = std::function<std::function<std::string()>()>;
    // The sidecar's record of the document as it stands.
    using Describe = std::function<RecoveryInfo()>;

    RecoveryCopier(RecoveryStore& store, std::string extension, Take take, Describe describe,
                   QObject* parent = nullptr);

    // The document changed; a command changed many cells of it.
    void edited();
    void changedInBulk();
    // The document matches its file (it was saved), or its changes were given up: the copy goes.
    void settled();
    // Goes on with a copy left by an ended program, whose document is open again with its changes:
    // this copier writes over it and removes it.
    void adopt(const std::string& id);

    const std::string& copyId() const { return id_; }
    // A copy is due (changes not copied yet), and when the timer is set to make it.
    bool copyPending() const { return schedule_.due().has_value(); }

  private:
    void arm();
    void takeCopy();

    RecoveryStore& store_;
    std::string extension_;
    Take take_;
    Describe describe_;
    RecoverySchedule schedule_;
    std::string id_;
    QTimer timer_;
};

}  // namespace scorvane
