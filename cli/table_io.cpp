#include "cli/table_io.h"

#include <iostream>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/status_sink.h"
#include "common/utf8.h"
#include "main/document/data_file.h"

namespace scorvane::cli {

std::optional<std::string> FindTable(const std::string& path) {
    std::optional<std::string> name = ExistingDataPath(path);
    if (!name) {
        std::cerr << kMissingFileMessage << path << "\n";
        return name;
    }
    NoteOpenElsewhere(DataFileOf(*name));
    return name;
}

std::string OpenElsewhereNote(const std::string& file) {
    const LockInspection lock = InspectLock(file, LockIdentity::ThisProgram());
    if (lock.state != LockState::Live && lock.state != LockState::Unreadable) {
        return {};
    }
    return "注意：表格正由 " + lock.owner.user + "（" + lock.owner.host +
           "）打开，读到的是其最后保存的内容。";
}

void NoteOpenElsewhere(const std::string& file) {
    if (const std::string note = OpenElsewhereNote(file); !note.empty()) {
        std::cerr << note << "\n";
    }
}

void NoteOpenElsewhere(const std::string& folder, const std::vector<std::string>& names) {
    if (folder.empty()) {
        return;
    }
    for (const std::string& name : names) {
        NoteOpenElsewhere(DataFileOf(folder + name));
    }
}

bool LoadTable(const std::string& path, Document& document, ConsolePrompter& prompter) {
    const std::optional<std::string> name = FindTable(path);
    SilentStatusSink status;
    return name && LoadData(document, *name, true, prompter, status) == LoadOutcome::Loaded;
}

std::optional<std::string> LoadTableAndFindOther(const std::string& table, const std::string& other,
                                                 Document& document, ConsolePrompter& prompter) {
    if (!LoadTable(table, document, prompter)) {
        return std::nullopt;
    }
    return FindTable(other);
}

bool SaveBytes(const std::string& bytes, const std::string& path) {
    if (path.empty() || !WriteFileAtomically(path, bytes)) {
        std::cerr << kSaveFailedMessage << "\n";
        return false;
    }
    return true;
}

bool SaveTable(const GradeTable& table, const std::string& path) {
    if (path.empty() || !WriteDataFileTo(table, path)) {
        std::cerr << kSaveFailedMessage << "\n";
        return false;
    }
    return true;
}

int ResolveField(const GradeTable& table, const std::string& field) {
    if (table.rows() > 0) {
        for (int c = 1; c < table.cols(); ++c) {
            if (table.cell(0, c) == field) {
                return c;
            }
        }
    }
    long long n = 0;
    if (ParseWholeNumber(field, 1, table.cols() - 1, n)) {
        return static_cast<int>(n);
    }
    std::cerr << "找不到字段：" << field << "\n";
    return -1;
}

bool ParseDataRow(const std::string& text, int dataRows, int& row) {
    long long n = 0;
    if (!ParseWholeNumber(TrimSpaces(text), 1, dataRows, n)) {
        std::cerr << "没有第 " << text << " 行（共 " << dataRows << " 行）。\n";
        return false;
    }
    row = static_cast<int>(n);
    return true;
}

int UsageError(const std::string& usage) {
    std::cerr << "用法：scorvane-cli " << usage << "\n";
    return 1;
}

}  // namespace scorvane::cli
