#pragma once

#include <functional>
#include <string>

#include "common/file_state.h"
#include "common/lock_identity.h"
#include "common/prompter.h"

namespace scorvane {

// The one path by which every writer of a file that others may share comes to write it: a table's
// 保存表格 and 表格另存为, every export, the designer's 保存 and 另存为, the school editor. The questions
// come first; the disk is looked at last, after every answer, and the file is written at once after.

// The file about to be written, and what the writer knows of it.
struct WriteTarget {
    std::string path{};
    // The writer's own file (one it has read or last written): the state it remembers of it. It is
    // compared with the disk last; nothing for any other file.
    const FileState* ownState = nullptr;
    // Asked when the own file changed meanwhile: its answers are kOverwrite, kSaveElsewhere (when it
    // offers it) and Cancel.
    Question changedQuestion{};
    // The writer's routine question before it replaces a file that exists ("确实覆盖原有数据么？",
    // "NAME 已存在。…"): true to go on. None: the file is replaced without one.
    std::function<bool()> mayReplace{};
    // Whose lock files are ours; nullptr: this program's.
    const LockIdentity* identity = nullptr;
};

// What the writer does next.
enum class BeforeWriting {
    Write,          // write now
    WriteAgain,     // the own file was deleted meanwhile: write it again now, without a question
    FolderGone,     // the own file was deleted with its folder (a class removed on another computer)
    SaveElsewhere,  // the user chose 另存为 in the changed question
    Cancelled,      // the user declined a question: nothing is written
};

// The questions before writing, then the last look: for a file not the writer's own, another program's
// lock beside it (live, or unreadable) asks HeldQuestion instead of the routine question; otherwise the
// routine question is asked when the file exists. Then, for the own file, it is compared with the
// state remembered: changed meanwhile, the changed question is asked, and after 覆盖 it is compared
// again with what was there when the question was asked (覆盖 also answers the routine question). A
// question answered is always followed by another look, so nothing another program does while a
// question is open passes unseen.
BeforeWriting PrepareToWrite(const WriteTarget& target, Prompter& prompter);

// The folder of a path ("." for a bare name).
std::string FolderOfPath(const std::string& path);

// The file's name as it stands in its folder: "/a/b/期中考试.skv" -> "期中考试.skv".
std::string FileNameOfPath(const std::string& path);

}  // namespace scorvane
