#pragma once

#include <string>
#include <string_view>

#include "common/document_file.h"
#include "common/file_lock.h"
#include "common/prompter.h"

namespace scorvane {

// The two questions of a file that others may have open or may have changed, for tables ("表格") and
// templates ("模板") alike, and the steps of opening and writing around them.

// The answers: the lock question's 只读打开(&R) and 仍然打开(&O); the changed-on-disk and the held-file
// questions' 覆盖(&O), and the changed-on-disk question's 另存为(&A)...; 取消 is Cancel in all.
inline constexpr Answer kOpenReadOnly = Answer::Yes;
inline constexpr Answer kOpenAnyway = Answer::No;
inline constexpr Answer kOverwrite = Answer::Yes;
inline constexpr Answer kSaveElsewhere = Answer::No;
inline constexpr std::string_view kSharingTitle = "询问";

// "表格“<name>”（<file name>）已由 <user>（<host>）于 <time> 打开。\n\n只读打开：可以查看和打印，不能保存修改。"
// with 只读打开(&R) (the default), 仍然打开(&O) and 取消 (Escape). The file's name tells apart two tables
// of one title (a copy saved from a read-only window keeps its title).
Question LockedQuestion(std::string_view kind, std::string_view name, std::string_view fileName,
                        const LockOwner& owner);

// "表格“<name>”在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n另存为：把您的内容
// 保存为另一个文件。" with 覆盖(&O), 另存为(&A)... and 取消 (the default, and Escape).
Question ChangedQuestion(std::string_view kind, std::string_view name);

// "文件“<name>”正由 <user>（<host>）于 <time> 打开。\n\n覆盖后，对方的修改将无法保存到这个文件。" with
// 覆盖(&O) and 取消 (the default, and Escape): before a file that another program has open (a live or
// unreadable lock beside it) is replaced by one that is not its own (另存为, an export). `name` is the
// file's name as it stands in its folder.
Question HeldQuestion(std::string_view name, const LockOwner& owner);

// A read-only document saved under another name may not take its own file's name:
// "只读打开的表格不能保存到原来的文件，请另选一个文件名！"
std::string ReadOnlySameFileMessage(std::string_view kind);

// The caption of the save dialog that 保存 of a read-only document opens, saying why it asks for a name:
// "另存为 — 只读打开的表格不能保存到原来的文件".
std::string ReadOnlySaveTitle(std::string_view kind);

// How a document opens its file after the lock was looked at.
struct OpenClaim {
    enum class Mode { Normal, ReadOnly, Cancelled } mode = Mode::Normal;
    FileLock lock;     // ours when we took it
    std::string note;  // kLockNotCreatedNote when no lock could be made
};

// Before a document reads `file`: takes its lock (a stale one silently); when another program holds
// it, or something unreadable stands in its place, asks the lock question: 只读打开 opens read-only
// and 仍然打开 normally, both leaving the other's lock alone; 取消 opens nothing. A lock that cannot be
// made (a read-only share) opens the file normally with a note for the status bar.
OpenClaim ClaimForOpening(const std::string& file, std::string_view kind, std::string_view name,
                          const LockIdentity& identity, Prompter& prompter);

}  // namespace scorvane
