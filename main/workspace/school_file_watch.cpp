#include "main/workspace/school_file_watch.h"

#include "main/workspace/school_info.h"

namespace scorvane {

FileState TakeSchoolFileState(const std::string& folder) {
    const std::string path = FindSchoolFile(folder);
    return path.empty() ? FileState{} : TakeFileState(path);
}

SchoolTree SchoolFileWatch::readTree(const std::string& folder) {
    folder_ = folder;
    state_ = TakeSchoolFileState(folder);
    read_ = true;
    return AddDot(folder);
}

bool SchoolFileWatch::changedSinceRead() const {
    if (!read_) {
        return false;
    }
    const std::string path = FindSchoolFile(folder_);
    if (path.empty()) {
        return state_.kind != FileState::Kind::Missing;
    }
    return CompareWithDisk(state_, path) != DiskChange::Unchanged;
}

}  // namespace scorvane
