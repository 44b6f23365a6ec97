#pragma once

#include <cstdint>
#include <string>

#include "common/recovery/recovery_folder.h"
#include "common/recovery/recovery_info.h"
#include "common/recovery/recovery_session.h"
#include "common/recovery/recovery_writer.h"

namespace scorvane {

// The recovery copies of one running program: the folder, the program's session, the writer thread
// and the interval between copies.
class RecoveryStore {
  public:
    // Makes the folder (0700) and takes the session's lock.
    RecoveryStore(std::string folder, int64_t intervalMillis);

    const RecoveryFolder& folder() const { return folder_; }
    const std::string& session() const { return session_.id(); }
    int64_t interval() const { return interval_; }
    RecoveryWriter& writer() { return writer_; }

    // A name for a new copy, of this program's own.
    std::string newCopyId();

    // A copy found at start that this program now holds (its document is open again): its sidecar
    // names this program's session from now on, so that no other program offers it while this one
    // runs. False when the sidecar cannot be written.
    bool adopt(const std::string& id, const std::string& extension, RecoveryInfo info);

  private:
    RecoveryFolder folder_;
    int64_t interval_;
    RecoverySession session_;
    RecoveryWriter writer_;
    int copies_ = 0;
};

}  // namespace scorvane
