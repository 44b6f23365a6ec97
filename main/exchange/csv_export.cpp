#include "main/exchange/csv_export.h"

#include "common/file_io.h"
#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "main/document/status_scope.h"

namespace scorvane {

void AppendCsvValue(std::string& out, std::string_view value) {
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(value);
        return;
    }
    out.push_back('"');
    for (char ch : value) {
        if (ch == '"') {
            out.push_back('"');
        }
        out.push_back(ch);
    }
    out.push_back('"');
}

std::string CsvExportText(const GradeTable& table, const CellValueFn& value) {
    std::string text;
    size_t estimate = table.title.size() + 8;
    for (const std::string& c : table.cells()) {
        estimate += c.size() + 1;
    }
    text.reserve(estimate + static_cast<size_t>(table.rows()) * 2);

    AppendCsvValue(text, table.title);
    text.append("\r\n");
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.cols(); ++c) {
            text.push_back(',');
            if (value) {
                AppendCsvValue(text, value(r, c));
            } else {
                AppendCsvValue(text, table.cell(r, c));
            }
        }
        text.append("\r\n");
    }
    text.append("\r\n");
    return text;
}

std::string CsvExportBytes(const GradeTable& table, const CellValueFn& value) {
    return EncodeGbk(CsvExportText(table, value));
}

CsvExportOutcome menuSaveCVS(const GradeTable& table, const CellValueFn& value, Prompter& prompter,
                             StatusSink& status) {
    std::string path = prompter.saveFile("*.csv");
    if (path.empty()) {
        return CsvExportOutcome::Cancelled;
    }
    bool written;
    {
        StatusScope busy(status, kStatusSaving);
        written = WriteFileAtomically(path, CsvExportBytes(table, value));
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return CsvExportOutcome::Failed;
    }
    prompter.message(kCsvSavedMessage, "提示", Icon::Information);
    return CsvExportOutcome::Saved;
}

}  // namespace scorvane
