#pragma once

#include <string>

#include "common/file_state.h"
#include "main/workspace/school_tree.h"

namespace scorvane {

// The school file as a reader last saw it, so that a change made meanwhile (the school editor of
// another computer on a shared workspace) is noticed.

// The state of the school file of `folder` (ending in "/"), taken just before it is read; Missing when
// the folder has none.
FileState TakeSchoolFileState(const std::string& folder);

// The school tree of the main window and the school file it was built from: the frame reads the tree
// through it, and asks on every activation whether the file has changed since (changed, made or
// removed), to read the tree again.
class SchoolFileWatch {
  public:
    // AddDot(folder), with the school file's state taken just before.
    SchoolTree readTree(const std::string& folder);
    // False until readTree has been called. Reads the file only when its size is what it was.
    bool changedSinceRead() const;

  private:
    bool read_ = false;
    std::string folder_;
    FileState state_;
};

}  // namespace scorvane
