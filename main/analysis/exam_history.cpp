#include "main/analysis/exam_history.h"

#include <algorithm>
#include <unordered_map>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/grade_tables.h"
#include "main/analysis/result_table.h"
#include "main/analysis/student_key.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

std::vector<const GradeTable*> tablesOf(const std::vector<NamedTable>& tables) {
    std::vector<const GradeTable*> out;
    for (const NamedTable& t : tables) {
        out.push_back(&t.table);
    }
    return out;
}

}  // namespace

std::string DefaultHistoryField(const std::vector<NamedTable>& tables) {
    return DefaultRankField(tablesOf(tables));
}

AnalysisResult ExamHistory(std::string_view className, const std::vector<NamedTable>& tables,
                           const HistoryChoice& choice) {
    if (tables.empty()) {
        return Refusal(std::string(kClassHoldsNoTablesMessage));
    }
    if (choice.field.empty()) {
        return Refusal(std::string(kNoRankFieldMessage));
    }
    const std::vector<const GradeTable*> all = tablesOf(tables);
    if (std::none_of(all.begin(), all.end(),
                     [&](const GradeTable* t) { return FieldColumn(*t, choice.field) >= 0; })) {
        return Refusal(MissingFieldMessage(choice.field));
    }
    const TableGroup group = GroupOfExams(tables);
    if (GroupFieldMarks(group, choice.field).marks.empty()) {
        return Refusal(NoMarksInFieldMessage(choice.field));
    }
    const StudentKey key = DefaultStudentKey(all);
    const bool numberColumn = EveryTableHas(all, kStudentNumberField);

    // Students in order of first appearance: their key, name and number, and one cell per table.
    std::unordered_map<std::string, size_t> studentOf;
    std::vector<std::vector<std::string>> rows;
    const size_t lead = numberColumn ? 2 : 1;
    for (size_t t = 0; t < tables.size(); ++t) {
        const GradeTable& table = tables[t].table;
        StudentRows students;
        if (auto fault = ReadStudentRows(table, tables[t].name, key, students)) {
            return Refusal(*fault);
        }
        const int col = FieldColumn(table, choice.field);
        std::vector<int> ranks;
        if (choice.ranks) {
            ranks = CompetitionRanks(StudentMarks(table, col, students));
        }
        const int nameCol = FieldColumn(table, kStudentNameField);
        const int numberCol = FieldColumn(table, kStudentNumberField);
        for (int r = 1; r < table.rows(); ++r) {
            const std::string& k = students.keys[static_cast<size_t>(r - 1)];
            if (k.empty()) {
                continue;
            }
            auto [at, added] = studentOf.emplace(k, rows.size());
            if (added) {
                std::vector<std::string> row(lead + tables.size());
                row[0] = nameCol > 0 ? 公式2值(table, r, nameCol) : std::string();
                if (numberColumn) {
                    row[1] = 公式2值(table, r, numberCol);
                }
                rows.push_back(std::move(row));
            }
            std::string& cell = rows[at->second][lead + t];
            if (choice.ranks) {
                cell = RankText(ranks[static_cast<size_t>(r - 1)]);
            } else if (col > 0) {
                cell = ShownMark(table, r, col);
            }
        }
    }

    std::vector<std::string> titles{std::string(kStudentNameField)};
    if (numberColumn) {
        titles.emplace_back(kStudentNumberField);
    }
    std::vector<std::string> names;
    for (const NamedTable& t : tables) {
        titles.push_back(t.name);
        names.push_back(t.name);
    }
    AnalysisResult result;
    const std::string what = choice.field + (choice.ranks ? "名次" : "");
    result.table = ResultTable(std::string(className) + " " + what + std::string(kHistoryTitleSuffix), titles, rows);
    result.table->teacher = tables.back().table.teacher;
    result.table->classInfo = std::string(className) + " " + JoinNames(names) + "的“" + choice.field + "”" +
                              (choice.ranks ? "名次" : "") + "，按“" + key.field + "”对应学生";
    AppendNote(result.table->classInfo, FieldNotes(group, choice.field, kOtherExams));
    return result;
}

std::optional<std::string> LoadClassExams(const std::string& folder, const std::vector<std::string>& names,
                                          std::vector<NamedTable>& out) {
    std::vector<NamedTable> tables;
    for (const std::string& name : names) {
        bool unreadable = false;
        std::optional<GradeTable> table = ReadTableInFolder(folder, name, unreadable);
        if (!table) {
            return unreadable ? "表格“" + name + "”无法读取！" : "找不到表格“" + name + "”！";
        }
        tables.push_back({name, std::move(*table)});
    }
    out = std::move(tables);
    return std::nullopt;
}

}  // namespace scorvane
