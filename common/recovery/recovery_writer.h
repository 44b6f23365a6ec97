#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "common/recovery/recovery_folder.h"
#include "common/recovery/recovery_info.h"

namespace scorvane {

// Writes recovery copies on a thread of its own (at the lowest priority), one after another in the
// order asked, so that neither turning a document into bytes nor writing them to disk holds up the
// window.
class RecoveryWriter {
  public:
    struct Job {
        std::string id;
        std::string extension;
        // Gives the document's bytes; runs on the writer's thread, so it must hold its own copy of
        // whatever it reads.
        std::function<std::string()> bytes;
        RecoveryInfo info;  // its time is set when the copy is written
    };

    explicit RecoveryWriter(const RecoveryFolder& folder);
    // Writes what is still asked for, then ends the thread.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // Asks for a copy; a copy of the same id asked for earlier and not yet begun is replaced by it.
    void write(Job job);
    // The copy of `id` is no longer wanted: a copy asked for and not begun is dropped, one being
    // written is waited for, then both files are removed. When this returns no copy of `id` is left.
    void remove(const std::string& id, const std::string& extension);
    // Waits until everything asked for is written.
    void wait();

    // Copies written, and copies that could not be written (a full disk, a folder that cannot be made).
    int written() const;
    int failed() const;

  private:
    void run();

    const RecoveryFolder& folder_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    std::string writing_;  // the id of the copy being written, empty when none
    bool stopping_ = false;
    int written_ = 0;
    int failed_ = 0;
    std::thread thread_;
};

}  // namespace scorvane
