#include "common/shared_write.h"

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/file_sharing.h"

namespace scorvane {
namespace {

const LockIdentity& thisProgram() {
    static const LockIdentity identity = LockIdentity::ThisProgram();
    return identity;
}

}  // namespace

std::string FileNameOfPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOfPath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

BeforeWriting PrepareToWrite(const WriteTarget& target, Prompter& prompter) {
    const LockIdentity& identity = target.identity ? *target.identity : thisProgram();
    FileState expected = target.ownState ? *target.ownState : FileState{};
    // The user has agreed to replace what stands there: the routine question, 覆盖 to the held file or
    // to the changed one.
    bool agreed = false;
    bool heldAsked = false;
    while (true) {
        if (target.ownState) {
            switch (CompareWithDisk(expected, target.path)) {
                case DiskChange::Unchanged:
                    break;
                case DiskChange::Deleted:
                    return DirectoryExists(FolderOfPath(target.path)) ? BeforeWriting::WriteAgain
                                                                      : BeforeWriting::FolderGone;
                case DiskChange::Changed: {
                    const FileState seen = TakeFileState(target.path);
                    const Answer answer = prompter.askQuestion(target.changedQuestion);
                    if (answer == kOverwrite) {
                        expected = seen;
                        agreed = true;
                        continue;
                    }
                    return answer == kSaveElsewhere ? BeforeWriting::SaveElsewhere : BeforeWriting::Cancelled;
                }
            }
        } else if (!heldAsked) {
            const LockInspection lock = InspectLock(target.path, identity);
            if (lock.state == LockState::Live || lock.state == LockState::Unreadable) {
                heldAsked = true;
                agreed = true;
                if (prompter.askQuestion(HeldQuestion(FileNameOfPath(target.path), lock.owner)) != kOverwrite) {
                    return BeforeWriting::Cancelled;
                }
                continue;
            }
        }
        if (!agreed && target.mayReplace && FileExists(target.path)) {
            agreed = true;
            if (!target.mayReplace()) {
                return BeforeWriting::Cancelled;
            }
            continue;
        }
        return BeforeWriting::Write;
    }
}

}  // namespace scorvane
