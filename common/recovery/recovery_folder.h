#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/recovery/recovery_info.h"

namespace scorvane {

// A recovery copy found in the folder.
struct FoundCopy {
    std::string id;
    std::optional<RecoveryInfo> info;  // nothing when the sidecar cannot be read
    std::optional<std::string> bytes;  // the document's bytes; nothing when they cannot be read
};

// The per-user folder of recovery copies. A copy of a document is two files: the document in its own
// file format, "<id><extension>" (".skv" for a table, ".rvx" for a template), and its sidecar
// "<id><extension>.info". The folder is readable by its owner only (0700) and so are its files (0600);
// both files are written through the atomic writer, so a copy is never half-written.
class RecoveryFolder {
  public:
    explicit RecoveryFolder(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Makes the folder (0700); false when it cannot be made or is not the owner's own folder.
    bool prepare() const;

    std::string documentPath(std::string_view id, std::string_view extension) const;
    std::string infoPath(std::string_view id, std::string_view extension) const;

    // Writes the sidecar, then the document. A program ended between the two leaves a copy that
    // cannot be read, which the offer names as damaged.
    bool write(std::string_view id, std::string_view extension, std::string_view bytes,
               const RecoveryInfo& info) const;
    bool writeInfo(std::string_view id, std::string_view extension, const RecoveryInfo& info) const;
    // Removes the document, then the sidecar (and what writers killed halfway left of them).
    void remove(std::string_view id, std::string_view extension) const;

    // The copies with that extension whose program has ended, the oldest first: each sidecar found,
    // unless the session it names still runs, with its document. Lock files of ended programs that no
    // copy names any more are removed on the way.
    std::vector<FoundCopy> find(std::string_view extension) const;

  private:
    std::string path_;
};

}  // namespace scorvane
