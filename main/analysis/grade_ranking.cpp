#include "main/analysis/grade_ranking.h"

#include <algorithm>
#include <limits>

#include "main/analysis/analysis_fields.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/formula/formula_cell.h"

namespace scorvane {

std::string DefaultGradeRankField(const std::vector<ClassTable>& classes) {
    return DefaultRankField(PresentTables(classes));
}

AnalysisResult GradeRanking(std::string_view grade, std::string_view tableName,
                            const std::vector<ClassTable>& classes, std::string_view field) {
    const std::vector<const GradeTable*> tables = PresentTables(classes);
    if (tables.empty()) {
        return Refusal(NoClassHoldsTableMessage(tableName));
    }
    if (field.empty()) {
        return Refusal(std::string(kNoRankFieldMessage));
    }
    if (std::none_of(tables.begin(), tables.end(),
                     [field](const GradeTable* t) { return FieldColumn(*t, field) >= 0; })) {
        return Refusal(MissingFieldMessage(field));
    }
    const TableGroup group = GroupOfClasses(classes);
    if (GroupFieldMarks(group, field).marks.empty()) {
        return Refusal(NoMarksInFieldMessage(field));
    }
    std::vector<std::string> fields;
    for (std::string& title : FieldsOfTables(tables)) {
        if (title != kClassColumnTitle && title != kClassRankTitle && title != kGradeRankTitle) {
            fields.push_back(std::move(title));
        }
    }

    // One row per student, class by class; the marks of the chosen field beside them.
    std::vector<std::vector<std::string>> rows;
    std::vector<std::optional<double>> marks;
    std::vector<int> classRanks;
    std::vector<std::string> classNames;
    std::vector<std::string> withoutField;
    for (const ClassTable& c : classes) {
        if (!c.table) {
            continue;
        }
        const GradeTable& table = *c.table;
        classNames.push_back(c.name);
        if (FieldColumn(table, field) < 0) {
            withoutField.push_back(c.name);
        }
        std::vector<int> columns;
        for (const std::string& title : fields) {
            columns.push_back(FieldColumn(table, title));
        }
        const std::vector<std::optional<double>> fieldMarks = FieldRowMarks(table, FieldColumn(table, field));
        std::vector<std::optional<double>> classMarks;
        for (int r = 1; r < table.rows(); ++r) {
            if (!RowHoldsData(table, r)) {
                continue;
            }
            std::vector<std::string> row{c.name};
            for (int col : columns) {
                row.push_back(col < 0 ? std::string() : ShownMark(table, r, col));
            }
            rows.push_back(std::move(row));
            classMarks.push_back(fieldMarks[static_cast<size_t>(r - 1)]);
        }
        for (int rank : CompetitionRanks(classMarks)) {
            classRanks.push_back(rank);
        }
        marks.insert(marks.end(), classMarks.begin(), classMarks.end());
    }
    if (!FitsInTable(rows.size())) {
        return Refusal(TooManyRowsMessage("年级排名", rows.size()));
    }
    const std::vector<int> gradeRanks = CompetitionRanks(marks);
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // By rank, the unranked (0) after all; a stable sort keeps the classes' order among equals.
    auto place = [&gradeRanks](size_t i) {
        return gradeRanks[i] > 0 ? gradeRanks[i] : std::numeric_limits<int>::max();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&place](size_t a, size_t b) { return place(a) < place(b); });
    std::vector<std::vector<std::string>> ordered;
    ordered.reserve(rows.size());
    for (size_t i : order) {
        rows[i].push_back(RankText(classRanks[i]));
        rows[i].push_back(RankText(gradeRanks[i]));
        ordered.push_back(std::move(rows[i]));
    }

    std::vector<std::string> titles{std::string(kClassColumnTitle)};
    titles.insert(titles.end(), fields.begin(), fields.end());
    titles.emplace_back(kClassRankTitle);
    titles.emplace_back(kGradeRankTitle);
    AnalysisResult result;
    // The field is named in the title unless it is the one chosen at first, so that rankings by
    // different fields read apart.
    const std::string named = field == DefaultGradeRankField(classes) ? std::string() : " " + std::string(field);
    result.table = ResultTable(std::string(grade) + " " + std::string(tableName) + named +
                                   std::string(kGradeRankingTitleSuffix),
                               titles, ordered);
    result.table->classInfo = std::string(grade) + " " + JoinNames(classNames) + "的“" +
                              std::string(tableName) + "”，按“" + std::string(field) + "”排名";
    AppendNote(result.table->classInfo, FieldNotes(group, field, kOtherClasses));
    result.notice = LeftOutClassesMessage(tableName, classes, {}, "排名");
    if (!withoutField.empty()) {
        result.notice += std::string(result.notice.empty() ? "" : "\n") + "以下班级的表格“" +
                         std::string(tableName) + "”没有字段“" + std::string(field) + "”，其学生没有名次：" +
                         JoinNames(withoutField);
    }
    return result;
}

}  // namespace scorvane
