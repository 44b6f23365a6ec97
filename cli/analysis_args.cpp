#include "cli/analysis_args.h"

#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/document/cell_value.h"
#include "main/exchange/csv_export.h"

namespace scorvane::cli {
namespace {

std::vector<std::string> items(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        std::string item(TrimSpaces(std::string_view(text).substr(start, comma - start)));
        if (!item.empty()) {
            out.push_back(std::move(item));
        }
        start = comma + 1;
    }
    return out;
}

}  // namespace

AnalysisTexts AnalysisOptions(const CliArgs& args) {
    AnalysisTexts texts;
    for (const std::string& list : args.values("--fields")) {
        for (std::string& field : items(list)) {
            texts.fields.push_back(std::move(field));
        }
    }
    for (const std::string& full : args.values("--full")) {
        if (full.find('=') == std::string::npos) {
            texts.fullMarks = full;
            continue;
        }
        for (const std::string& item : items(full)) {
            const size_t eq = item.find('=');
            texts.fieldFullMarks.emplace_back(TrimSpaces(std::string_view(item).substr(0, eq)),
                                              eq == std::string::npos ? "" : item.substr(eq + 1));
        }
    }
    texts.pass = args.value("--pass", texts.pass);
    texts.excellent = args.value("--excellent", texts.excellent);
    texts.low = args.value("--low", texts.low);
    texts.bandWidth = args.value("--band", texts.bandWidth);
    return texts;
}

bool SaveResultTable(const GradeTable& table, const std::string& path) {
    const bool csv =
        path.size() >= 4 && EqualsIgnoreCaseAscii(std::string_view(path).substr(path.size() - 4), ".csv");
    if (csv) {
        return SaveBytes(CsvExportBytes(table, FormulaValues(table)), path);
    }
    return SaveTable(table, path);
}

}  // namespace scorvane::cli
