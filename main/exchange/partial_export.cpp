#include "main/exchange/partial_export.h"

#include <algorithm>

#include "common/file_dialog_start.h"
#include "common/shared_write.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/document/status_scope.h"

namespace scorvane {
namespace {

// The numbers within [1, limit), ascending, each once.
std::vector<int> chosen(const std::vector<int>& numbers, int limit) {
    std::vector<int> out;
    out.reserve(numbers.size());
    for (int n : numbers) {
        if (n >= 1 && n < limit) {
            out.push_back(n);
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

GradeTable ExtractTable(const GradeTable& table, const std::vector<int>& rows,
                        const std::vector<int>& fields) {
    const std::vector<int> rowList = chosen(rows, table.rows());
    const std::vector<int> fieldList = chosen(fields, table.cols());
    GradeTable out(static_cast<int>(rowList.size()) + 1, static_cast<int>(fieldList.size()) + 1);
    out.title = table.title + " 导出表";
    out.teacher = table.teacher;
    out.classInfo = table.classInfo;
    out.dataFormat = table.dataFormat;
    if (table.rows() < 1 || table.cols() < 1) {
        return out;
    }
    auto copyRow = [&](int to, int from) {
        out.setCell(to, 0, table.cell(from, 0));
        for (size_t f = 0; f < fieldList.size(); ++f) {
            out.setCell(to, static_cast<int>(f) + 1, table.cell(from, fieldList[f]));
        }
    };
    copyRow(0, 0);
    for (size_t r = 0; r < rowList.size(); ++r) {
        copyRow(static_cast<int>(r) + 1, rowList[r]);
    }
    return out;
}

PartialExportResult ExportPartialTable(const GradeTable& table, const std::vector<int>& rows,
                                       const std::vector<int>& fields, Prompter& prompter,
                                       StatusSink& status) {
    PartialExportResult result;
    std::string path = prompter.chooseSaveFile(SaveDialogFor("*.skv", table.title));
    if (path.empty()) {
        return result;
    }
    if (path.size() >= 4 && EqualsIgnoreCaseAscii(path.substr(path.size() - 4), kDataFileExtension)) {
        path.resize(path.size() - 4);
    }
    result.path = path;
    // A file another program has open is replaced only after 覆盖.
    if (PrepareToWrite({.path = path + std::string(kDataFileExtension)}, prompter) != BeforeWriting::Write) {
        result.path.clear();
        return result;
    }
    bool written;
    {
        StatusScope busy(status, kStatusSaving);
        written = WriteDataFile(ExtractTable(table, rows, fields), path);
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        result.outcome = PartialExportOutcome::Failed;
        return result;
    }
    const Answer a = prompter.ask(kOpenExportedQuestion, "询问", Buttons::YesNo, Icon::Question, Answer::Yes);
    result.outcome = a == Answer::Yes ? PartialExportOutcome::Open : PartialExportOutcome::Saved;
    return result;
}

}  // namespace scorvane
