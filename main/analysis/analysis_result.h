#pragma once

#include <optional>
#include <string>

#include "common/prompter.h"
#include "main/document/grade_table.h"

namespace scorvane {

// What an analysis gives its window or command: the result table, or the reason there is none.
struct AnalysisResult {
    std::optional<GradeTable> table;
    std::string refusal;  // why there is no table (nothing is produced); empty: the user cancelled, nothing to tell
    std::string notice;  // beside a table: what was left out ("以下班级没有表格…"), empty when nothing
};

inline AnalysisResult Refusal(std::string message) {
    return AnalysisResult{std::nullopt, std::move(message), {}};
}

// Tells the user what became of an analysis in a message box (提示): its refusal (none when the user
// cancelled), or the notice beside its table. True when there is a table to open.
bool TellAnalysisResult(const AnalysisResult& result, Prompter& prompter);

// A table an analysis reads, with the name it is known by (its file name in the class folder).
struct NamedTable {
    std::string name;
    GradeTable table;
};

}  // namespace scorvane
