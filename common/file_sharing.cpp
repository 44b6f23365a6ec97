#include "common/file_sharing.h"

#include "common/shared_write.h"

namespace scorvane {
namespace {

std::string named(std::string_view kind, std::string_view name) {
    std::string text(kind);
    text += "“";
    text += name;
    text += "”";
    return text;
}

}  // namespace

Question LockedQuestion(std::string_view kind, std::string_view name, std::string_view fileName,
                        const LockOwner& owner) {
    Question question;
    question.text = named(kind, name) + "（" + std::string(fileName) + "）已由 " + owner.user + "（" + owner.host + "）于 " +
                    LockTimeForDisplay(owner.time) + " 打开。\n\n只读打开：可以查看和打印，不能保存修改。";
    question.title = std::string(kSharingTitle);
    question.icon = Icon::Question;
    question.buttons = {
        {"只读打开(&R)", kOpenReadOnly}, {"仍然打开(&O)", kOpenAnyway}, {"取消", Answer::Cancel}};
    question.defaultAnswer = kOpenReadOnly;
    question.escapeAnswer = Answer::Cancel;
    return question;
}

Question ChangedQuestion(std::string_view kind, std::string_view name) {
    Question question;
    question.text =
        named(kind, name) +
        "在您打开之后已被其他人修改并保存。\n\n覆盖：用您的内容替换对方的修改。\n另存为：把您的内容保存为另"
        "一个文件。";
    question.title = std::string(kSharingTitle);
    question.icon = Icon::Question;
    question.buttons = {
        {"覆盖(&O)", kOverwrite}, {"另存为(&A)...", kSaveElsewhere}, {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::Cancel;
    question.escapeAnswer = Answer::Cancel;
    return question;
}

Question HeldQuestion(std::string_view name, const LockOwner& owner) {
    Question question;
    question.text = named("文件", name) + "正由 " + owner.user + "（" + owner.host + "）于 " +
                    LockTimeForDisplay(owner.time) + " 打开。\n\n覆盖后，对方的修改将无法保存到这个文件。";
    question.title = std::string(kSharingTitle);
    question.icon = Icon::Warning;
    question.buttons = {{"覆盖(&O)", kOverwrite}, {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::Cancel;
    question.escapeAnswer = Answer::Cancel;
    return question;
}

std::string ReadOnlySameFileMessage(std::string_view kind) {
    return "只读打开的" + std::string(kind) + "不能保存到原来的文件，请另选一个文件名！";
}

std::string ReadOnlySaveTitle(std::string_view kind) {
    return "另存为 — 只读打开的" + std::string(kind) + "不能保存到原来的文件";
}

OpenClaim ClaimForOpening(const std::string& file, std::string_view kind, std::string_view name,
                          const LockIdentity& identity, Prompter& prompter) {
    OpenClaim claim;
    LockAttempt attempt = TakeLock(file, identity);
    switch (attempt.result) {
        case LockAttempt::Result::Taken:
        case LockAttempt::Result::TakenOver:
            claim.lock = std::move(attempt.lock);
            return claim;
        case LockAttempt::Result::NotCreated:
            claim.note = std::string(kLockNotCreatedNote);
            return claim;
        case LockAttempt::Result::Busy:
            break;
    }
    const Answer answer = prompter.askQuestion(LockedQuestion(kind, name, FileNameOfPath(file), attempt.holder.owner));
    claim.mode = answer == kOpenReadOnly ? OpenClaim::Mode::ReadOnly
                 : answer == kOpenAnyway ? OpenClaim::Mode::Normal
                                         : OpenClaim::Mode::Cancelled;
    return claim;
}

}  // namespace scorvane
