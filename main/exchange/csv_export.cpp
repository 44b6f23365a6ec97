#include "main/exchange/csv_export.h"

#include <limits>

#include "common/file_dialog_start.h"
#include "common/file_io.h"
#include "common/shared_write.h"
#include "common/text_codec.h"
#include "main/document/data_file.h"
#include "main/document/status_scope.h"
#include "main/formula/formula_cell.h"

namespace scorvane {

namespace {

// A comma, a double quote or a line break: the value is quoted.
bool needsQuotes(std::string_view value) {
    for (char ch : value) {
        if (ch == ',' || ch == '"' || ch == '\r' || ch == '\n') {
            return true;
        }
    }
    return false;
}

}  // namespace

void AppendCsvValue(std::string& out, std::string_view value) {
    if (!needsQuotes(value)) {
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

namespace {

// The export's text, made row by row into `text` (UTF-8, or GBK with `gbk`); whenever it holds `piece`
// bytes or more it goes to `flush`, which empties it. Only formula cells ask `value`: every other
// cell's value is its text.
template <typename Flush>
bool csvExport(const GradeTable& table, const CellValueFn& value, bool gbk, std::string& text, size_t piece,
               Flush&& flush) {
    std::string quoted;
    auto append = [&](std::string_view v) {
        if (needsQuotes(v)) {
            quoted.clear();
            AppendCsvValue(quoted, v);
            v = quoted;
        }
        if (!gbk || IsAscii(v)) {
            text.append(v);
        } else {
            AppendEncodedGbk(text, v);
        }
    };
    append(table.title);
    text.append("\r\n");
    std::string computed;
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.cols(); ++c) {
            text.push_back(',');
            const CellText cell = table.cell(r, c);
            if (value && IsFormula(cell)) {
                computed = value(r, c);
                append(computed);
            } else {
                append(cell);
            }
        }
        text.append("\r\n");
        if (text.size() >= piece && !flush(text)) {
            return false;
        }
    }
    text.append("\r\n");
    return true;
}

std::string csvText(const GradeTable& table, const CellValueFn& value, bool gbk) {
    std::string text;
    csvExport(table, value, gbk, text, std::numeric_limits<size_t>::max(), [](std::string&) { return true; });
    return text;
}

constexpr size_t kWritePiece = 256 * 1024;

}  // namespace

std::string CsvExportText(const GradeTable& table, const CellValueFn& value) {
    return csvText(table, value, false);
}

std::string CsvExportBytes(const GradeTable& table, const CellValueFn& value) {
    return csvText(table, value, true);
}

bool WriteCsvExport(const GradeTable& table, const CellValueFn& value, const std::string& path) {
    AtomicFileWriter writer(path);
    std::string piece;
    piece.reserve(kWritePiece + 4096);
    auto flush = [&writer](std::string& text) { return writer.writePiece(text); };
    return csvExport(table, value, true, piece, kWritePiece, flush) && flush(piece) && writer.commit();
}

CsvExportOutcome menuSaveCVS(const GradeTable& table, const CellValueFn& value, Prompter& prompter,
                             StatusSink& status) {
    std::string path = prompter.chooseSaveFile(SaveDialogFor("*.csv", table.title));
    if (path.empty()) {
        return CsvExportOutcome::Cancelled;
    }
    // A file another program has open is replaced only after 覆盖.
    if (PrepareToWrite({.path = path}, prompter) != BeforeWriting::Write) {
        return CsvExportOutcome::Cancelled;
    }
    bool written;
    {
        StatusScope busy(status, kStatusSaving);
        written = WriteCsvExport(table, value, path);
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return CsvExportOutcome::Failed;
    }
    prompter.message(kCsvSavedMessage, "提示", Icon::Information);
    return CsvExportOutcome::Saved;
}

}  // namespace scorvane
