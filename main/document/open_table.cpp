#include "main/document/open_table.h"

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "common/utf8.h"

namespace scorvane {

std::string SharedTableName(const Document& document) {
    return SharedTableName(document.table);
}

std::string SharedTableName(const GradeTable& table) {
    if (!IsBlank(table.title)) {
        return table.title;
    }
    const std::string& path = table.filePath;
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

LoadOutcome OpenTable(Document& document, const std::string& path, Prompter& prompter, StatusSink& status) {
    if (TrimSpaces(path).empty()) {
        return LoadOutcome::Closed;
    }
    const std::string file = DataFileOf(path);
    const FileState state = TakeFileState(file);
    Document read;
    read.table.filePath = path;
    const LoadOutcome outcome = LoadData(read, path, true, prompter, status);
    if (outcome != LoadOutcome::Loaded) {
        return outcome;
    }
    OpenClaim claim =
        ClaimForOpening(file, kTableKind, SharedTableName(read), document.file.identity(), prompter);
    if (claim.mode == OpenClaim::Mode::Cancelled) {
        return LoadOutcome::Closed;
    }
    document.table = std::move(read.table);
    document.file.opened(file, state, std::move(claim.lock), claim.mode == OpenClaim::Mode::ReadOnly,
                         std::move(claim.note));
    if (!document.file.note().empty()) {
        status.setStatus(document.file.note());
    }
    return LoadOutcome::Loaded;
}

}  // namespace scorvane
