#include "main/document/table_recovery.h"

#include <algorithm>

#include "common/numbered_repeats.h"
#include "main/document/data_file.h"
#include "main/document/document_life.h"
#include "main/document/open_table.h"

namespace scorvane {

RecoveryInfo TableCopyInfo(const GradeTable& table, const std::string& workspace) {
    RecoveryInfo info;
    info.filePath = table.filePath;
    info.title = table.title;
    info.workspace = workspace;
    return info;
}

RecoveryInfo TableCopyInfo(const Document& document, const std::string& workspace) {
    RecoveryInfo info = TableCopyInfo(document.table, workspace);
    const std::string& claimed = document.file.path();
    if (!claimed.empty() && !document.table.filePath.empty() &&
        DataPathOf(claimed) == document.table.filePath) {
        info.file = RecordFile(document.file.state());
    }
    return info;
}

std::vector<TableCopy> FindTableCopies(const RecoveryFolder& folder, const std::string& workspace) {
    std::vector<TableCopy> copies;
    for (FoundCopy& found : folder.find(kTableCopyExtension)) {
        if (found.info && !SameFolder(found.info->workspace, workspace)) {
            continue;
        }
        TableCopy copy;
        copy.id = std::move(found.id);
        copy.info = std::move(found.info);
        GradeTable table;
        if (found.bytes && ParseDataFile(*found.bytes, table)) {
            copy.table = std::move(table);
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

std::string ClassOfTablePath(const std::string& filePath, const std::string& dataFolder) {
    if (dataFolder.empty() || filePath.size() <= dataFolder.size() ||
        filePath.compare(0, dataFolder.size(), dataFolder) != 0) {
        return std::string(kNoClass);
    }
    std::vector<std::string> folders;
    std::string_view rest = std::string_view(filePath).substr(dataFolder.size());
    for (size_t slash = rest.find('/'); slash != std::string_view::npos; slash = rest.find('/')) {
        if (slash > 0) {
            folders.emplace_back(rest.substr(0, slash));
        }
        rest.remove_prefix(slash + 1);
    }
    if (folders.empty()) {
        return std::string(kNoClass);
    }
    // school / grade / class: the grade and the class name it well enough.
    return folders.size() == 1 ? folders[0] : folders[folders.size() - 2] + " " + folders.back();
}

TableCopyRow DescribeTableCopy(const TableCopy& copy, const std::string& dataFolder, bool seconds) {
    TableCopyRow row;
    row.damaged = copy.damaged();
    if (copy.table) {
        row.table = copy.table->title;
    } else if (copy.info && !copy.info->title.empty()) {
        row.table = copy.info->title;
    } else {
        row.table = std::string(kUnknownTable);
    }
    if (row.damaged) {
        row.table += kDamagedCopyMark;
    }
    row.className = copy.info ? ClassOfTablePath(copy.info->filePath, dataFolder) : std::string(kNoClass);
    row.time = copy.info ? RecoveryTimeText(copy.info->time, seconds) : std::string();
    return row;
}

std::vector<TableCopyRow> DescribeTableCopies(const std::vector<TableCopy>& copies,
                                              const std::string& dataFolder) {
    std::vector<TableCopyRow> rows;
    for (const TableCopy& copy : copies) {
        rows.push_back(DescribeTableCopy(copy, dataFolder));
    }
    auto line = [](const TableCopyRow& r) { return r.table + '\n' + r.className + '\n' + r.time; };
    std::vector<std::string> lines;
    for (const TableCopyRow& r : rows) {
        lines.push_back(line(r));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (std::count(lines.begin(), lines.end(), lines[i]) > 1) {
            rows[i].time = DescribeTableCopy(copies[i], dataFolder, true).time;
        }
    }
    lines.clear();
    for (const TableCopyRow& r : rows) {
        lines.push_back(line(r));
    }
    const std::vector<std::string> numbered = NumberRepeats(lines);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (numbered[i] != lines[i]) {
            rows[i].table += numbered[i].substr(lines[i].size());
        }
    }
    return rows;
}

OpenClaim ClaimRecoveredTable(const TableCopy& copy, const LockIdentity& identity, Prompter& prompter) {
    if (copy.damaged() || copy.info->filePath.empty()) {
        return {};
    }
    GradeTable named;
    named.title = copy.table->title;
    named.filePath = copy.info->filePath;
    return ClaimForOpening(DataFileOf(copy.info->filePath), kTableKind, SharedTableName(named), identity,
                           prompter);
}

bool RecoverTable(Document& document, const TableCopy& copy, OpenClaim claim) {
    if (copy.damaged() || claim.mode == OpenClaim::Mode::Cancelled) {
        return false;
    }
    GradeTable& table = document.table;
    table = *copy.table;
    table.filePath = copy.info->filePath;
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    if (!table.filePath.empty()) {
        document.file.opened(DataFileOf(table.filePath), RecordedState(copy.info->file),
                             std::move(claim.lock), claim.mode == OpenClaim::Mode::ReadOnly,
                             std::move(claim.note));
    }
    document.setModified();
    return true;
}

}  // namespace scorvane
