#include "main/exchange/partial_import.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/document/document_life.h"
#include "main/document/status_scope.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

bool isFieldColumn(const GradeTable& table, int col) {
    return col >= 1 && col < table.cols();
}

}  // namespace

ImportSource LoadDataI(std::string_view file, bool fullName, Prompter& prompter, StatusSink& status) {
    StatusScope busy(status, kStatusReading);
    ImportSource result;
    if (TrimSpaces(file).empty()) {
        return result;
    }
    const std::string path = DataFileOf(fullName ? std::string(file) : DataFolder() + std::string(file));
    if (!FileExists(path)) {
        return result;
    }
    if (!ReadDataFile(path, result.table)) {
        prompter.message(kFormatMessage, "提示", Icon::Information);
        result.outcome = LoadOutcome::Refused;
        return result;
    }
    result.table.setHeaderLayout(result.table.composeHeaderLayout(false));
    result.outcome = LoadOutcome::Loaded;
    return result;
}

void menuImportSome(Document& document) {
    document.takeSnapshot();
}

PartialImportOutcome RunPartialImport(Document& document, int targetCol, const GradeTable& source,
                                      int sourceCol, std::optional<KeyFields> key, Prompter& prompter) {
    GradeTable& table = document.table;
    if (!isFieldColumn(table, targetCol) || !isFieldColumn(source, sourceCol) ||
        (key && (!isFieldColumn(table, key->targetCol) || !isFieldColumn(source, key->sourceCol)))) {
        prompter.message(kChooseColumnsMessage, "提示", Icon::Information);
        return PartialImportOutcome::NoColumns;
    }

    bool changed = false;
    auto put = [&](int row, std::string_view value) {
        if (table.cell(row, targetCol) != value) {
            table.setCell(row, targetCol, value);
            changed = true;
        }
    };

    if (!key) {
        if (prompter.ask(kSequentialImportQuestion, "询问", Buttons::YesNo, Icon::Question, Answer::Yes) !=
            Answer::Yes) {
            return PartialImportOutcome::Declined;
        }
        const int n = std::min(table.rows(), source.rows()) - 1;
        for (int i = 1; i <= n; ++i) {
            put(i, source.cell(i, sourceCol));
        }
    } else {
        // The first source row of every key. The values are read before any target cell is written, so
        // the source may even be the table itself.
        std::unordered_map<std::string_view, int> firstRow;
        firstRow.reserve(static_cast<size_t>(source.rows()));
        for (int j = 1; j < source.rows(); ++j) {
            firstRow.try_emplace(source.cell(j, key->sourceCol), j);
        }
        std::vector<std::pair<int, std::string>> found;
        for (int i = 1; i < table.rows(); ++i) {
            auto it = firstRow.find(table.cell(i, key->targetCol));
            if (it != firstRow.end()) {
                found.emplace_back(i, source.cell(it->second, sourceCol));
            }
        }
        for (const auto& [row, value] : found) {
            put(row, value);
        }
    }
    if (changed) {
        document.setModified();
    }
    return PartialImportOutcome::Imported;
}

PartialImportSession::PartialImportSession(Document& document) : document_(document) {
    menuImportSome(document_);
}

LoadOutcome PartialImportSession::browse(Prompter& prompter, StatusSink& status) {
    const std::string chosen = prompter.openFile("*.skv", kPartialImportOpenTitle);
    if (chosen.empty()) {
        return LoadOutcome::Closed;
    }
    ImportSource read = LoadDataI(DataPathOf(chosen), true, prompter, status);
    if (read.outcome == LoadOutcome::Loaded) {
        source_ = std::move(read.table);
        loaded_ = true;
    }
    return read.outcome;
}

std::vector<std::string> PartialImportSession::targetFields() const {
    return document_.table.fieldTitles();
}

std::vector<std::string> PartialImportSession::sourceFields() const {
    return loaded_ ? source_.fieldTitles() : std::vector<std::string>();
}

PartialImportOutcome PartialImportSession::confirm(int targetCol, int sourceCol,
                                                   std::optional<KeyPositions> keyPositions,
                                                   Prompter& prompter) {
    if (!loaded_) {
        return PartialImportOutcome::NoSource;
    }
    std::optional<KeyFields> key;
    if (keyPositions) {
        key = KeyFields{keyPositions->target + 1, keyPositions->source + 1};
    }
    return RunPartialImport(document_, targetCol, source_, sourceCol, key, prompter);
}

}  // namespace scorvane
