#include "cli/analysis_args.h"

#include <algorithm>
#include <iostream>

#include "cli/table_io.h"
#include "common/utf8.h"
#include "main/analysis/field_marks.h"
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

std::vector<std::string> OptionList(const CliArgs& args, const std::string& name) {
    std::vector<std::string> out;
    for (const std::string& list : args.values(name)) {
        for (std::string& item : items(list)) {
            if (std::find(out.begin(), out.end(), item) == out.end()) {
                out.push_back(std::move(item));
            }
        }
    }
    return out;
}

std::optional<GradeFolder> GradeFolderArgument(const std::string& path) {
    std::optional<GradeFolder> grade = ReadGradeFolder(path);
    if (!grade) {
        std::cerr << "找不到文件夹：" << path << "\n";
    }
    return grade;
}

std::vector<ClassTable> LoadGradeTables(const GradeFolder& grade, const std::string& name) {
    for (const GradeClass& c : grade.classes) {
        NoteOpenElsewhere(c.folder, {name});
    }
    return LoadClassTables(grade.classes, name);
}

AnalysisTexts AnalysisOptions(const CliArgs& args) {
    AnalysisTexts texts;
    texts.fields = OptionList(args, "--fields");
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

std::vector<std::string> FieldsByTitleOrColumn(const GradeTable& table,
                                               const std::vector<std::string>& names) {
    std::vector<std::string> fields;
    for (const std::string& field : names) {
        long long from = 0;
        long long to = 0;
        const size_t dash = field.find('-', 1);
        if (FieldColumn(table, field) >= 0) {
            fields.push_back(field);
        } else if (ParseWholeNumber(field, 1, table.cols() - 1, from)) {
            fields.push_back(table.cell(0, static_cast<int>(from)));
        } else if (dash != std::string::npos &&
                   ParseWholeNumber(field.substr(0, dash), 1, table.cols() - 1, from) &&
                   ParseWholeNumber(field.substr(dash + 1), from, table.cols() - 1, to)) {
            for (long long c = from; c <= to; ++c) {
                fields.push_back(table.cell(0, static_cast<int>(c)));
            }
        } else {
            fields.push_back(field);
        }
    }
    return fields;
}

bool SaveResultTable(const GradeTable& table, const std::string& path) {
    const bool csv =
        path.size() >= 4 && EqualsIgnoreCaseAscii(std::string_view(path).substr(path.size() - 4), ".csv");
    if (csv) {
        return SaveBytes(CsvExportBytes(table, FormulaValues(table)), path);
    }
    return SaveTable(table, path);
}

void NoteMismatchedTotals(const TableGroup& group, std::string_view field, std::string_view others) {
    if (const std::string mismatch = MismatchedTotalsMessage(group, field, others); !mismatch.empty()) {
        std::cerr << mismatch << "\n";
    }
}

int WriteAnalysisResult(const AnalysisResult& result, const std::string& path) {
    if (!result.table) {
        std::cerr << result.refusal << "\n";
        return 1;
    }
    if (!result.notice.empty()) {
        std::cerr << result.notice << "\n";
    }
    return SaveResultTable(*result.table, path) ? 0 : 1;
}

bool LineOptions(const CliArgs& args, std::vector<LineText>& out) {
    out.clear();
    for (const std::string& text : args.values("--line")) {
        std::optional<LineText> line = ReadLineArgument(text);
        if (!line) {
            std::cerr << UnreadableLineMessage(text) << "\n";
            return false;
        }
        out.push_back(std::move(*line));
    }
    return true;
}

std::vector<ClassTable> LoadGradeTables(const std::vector<GradeClass>& classes, const std::string& name) {
    for (const GradeClass& c : classes) {
        if (!c.folder.empty()) {
            NoteOpenElsewhere(c.folder + name + ".skv");
        }
    }
    return LoadClassTables(classes, name);
}

}  // namespace scorvane::cli
