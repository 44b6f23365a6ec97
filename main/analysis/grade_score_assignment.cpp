#include "main/analysis/grade_score_assignment.h"

#include <algorithm>

#include "common/text_codec.h"
#include "common/utf8.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/competition_rank.h"
#include "main/analysis/field_across_tables.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/grade_ranking.h"
#include "main/analysis/result_table.h"
#include "main/exchange/csv_export.h"
#include "main/formula/number_text.h"

namespace scorvane {

namespace {

// Classes named one by one in the class information up to this many; beyond, counted.
constexpr size_t kNamedClasses = 10;

std::string classesText(const std::vector<std::string>& names) {
    return names.size() <= kNamedClasses ? JoinNames(names) : std::to_string(names.size()) + " 个班级";
}

// "化学：A 92-81（20 人），B 80-70（47 人），…，D 45（1 人），E 无": the raw range Y2-Y1 (one mark when they
// are equal) and the head count of each band.
std::string rangesText(const std::string& field, const AssignmentBands& bands, const FieldAssignment& assignment) {
    std::string text = field + "：";
    for (size_t k = 0; k < bands.size(); ++k) {
        const BandRange& range = assignment.ranges[k];
        text += (k > 0 ? "，" : "") + bands[k].name + " ";
        text += range.count == 0 ? std::string("无")
                                 : NumberToText(range.highest) +
                                       (range.lowest == range.highest ? "" : "-" + NumberToText(range.lowest)) +
                                       "（" + std::to_string(range.count) + " 人）";
    }
    return text;
}

}  // namespace

std::vector<std::string> DefaultAssignmentFields(const std::vector<std::string>& offered) {
    std::vector<std::string> out;
    for (const std::string& field : offered) {
        if (std::find(std::begin(kElectiveSubjects), std::end(kElectiveSubjects), field) !=
            std::end(kElectiveSubjects)) {
            out.push_back(field);
        }
    }
    return out;
}

// Works a sheet out; a friend of the sheet.
class ScoreAssignmentBuilder {
  public:
    // The cohort is `group`, known in messages as `tableName`; `source` begins the class information.
    static ScoreAssignmentSheet build(std::string title, std::string source, std::string_view tableName,
                                      const TableGroup& group, const std::vector<std::string>& chosen,
                                      const AssignmentBands& bands);
};

ScoreAssignmentSheet ScoreAssignmentBuilder::build(std::string title, std::string source,
                                                   std::string_view tableName, const TableGroup& group,
                                                   const std::vector<std::string>& chosen,
                                                   const AssignmentBands& bands) {
    ScoreAssignmentSheet sheet;
    std::vector<const GradeTable*> tables;
    for (const TableInGroup& t : group) {
        tables.push_back(t.table);
    }
    if (tables.empty()) {
        sheet.refusal = NoClassHoldsTableMessage(tableName);
        return sheet;
    }
    std::vector<std::string> fields;
    for (const std::string& field : chosen) {
        if (std::find(fields.begin(), fields.end(), field) == fields.end()) {
            fields.push_back(field);
        }
    }
    if (fields.empty()) {
        sheet.refusal = std::string(kNoAssignmentFieldMessage);
        return sheet;
    }
    for (const std::string& field : fields) {
        if (!std::any_of(tables.begin(), tables.end(),
                         [&field](const GradeTable* t) { return FieldColumn(*t, field) >= 0; })) {
            sheet.refusal = MissingFieldMessage(field);
            return sheet;
        }
    }
    const std::vector<std::string> subjects = SubjectFieldsOfTables(tables);

    // Which subjects are converted (their 赋分 counts in 赋分总分), and which count raw.
    std::vector<int> convertedSubject(subjects.size(), -1);
    for (size_t s = 0; s < subjects.size(); ++s) {
        const auto at = std::find(fields.begin(), fields.end(), subjects[s]);
        convertedSubject[s] = at == fields.end() ? -1 : static_cast<int>(at - fields.begin());
    }

    // The students, class by class, with the marks of the converted fields and the sum of the subjects
    // that count raw (nothing once one is missing).
    size_t capacity = 0;
    for (const GradeTable* table : tables) {
        capacity += static_cast<size_t>(std::max(0, table->rows() - 1));
    }
    std::vector<std::vector<std::optional<double>>> marks(fields.size());
    for (auto& m : marks) {
        m.reserve(capacity);
    }
    std::vector<std::optional<double>> rawSums;
    rawSums.reserve(capacity);
    sheet.students_.reserve(capacity);
    std::vector<std::string> withoutSubject;
    for (const TableInGroup& c : group) {
        const GradeTable& table = *c.table;
        ScoreAssignmentSheet::Source from;
        from.table = &table;
        from.className = c.name;
        from.classCol = FieldColumn(table, kClassColumnTitle);
        from.nameCol = FieldColumn(table, "姓名");
        from.numberCol = FieldColumn(table, "学号");
        for (const std::string& field : fields) {
            from.fieldCols.push_back(FieldColumn(table, field));
        }
        std::vector<std::vector<std::optional<double>>> rowMarks;
        for (int col : from.fieldCols) {
            rowMarks.push_back(FieldRowMarks(table, col));
        }
        // The raw subjects of this table's rows, added up.
        std::vector<std::optional<double>> rowSums(static_cast<size_t>(std::max(0, table.rows() - 1)), 0.0);
        bool lacksSubject = false;
        for (size_t s = 0; s < subjects.size(); ++s) {
            const int col = FieldColumn(table, subjects[s]);
            lacksSubject = lacksSubject || col < 0;
            if (convertedSubject[s] >= 0) {
                continue;
            }
            const std::vector<std::optional<double>> subject = FieldRowMarks(table, col);
            for (size_t i = 0; i < rowSums.size(); ++i) {
                rowSums[i] = rowSums[i] && subject[i] ? std::optional<double>(*rowSums[i] + *subject[i]) : std::nullopt;
            }
        }
        if (lacksSubject) {
            withoutSubject.push_back(c.name);
        }
        const auto index = static_cast<uint32_t>(sheet.sources_.size());
        sheet.sources_.push_back(std::move(from));
        for (int r = 1; r < table.rows(); ++r) {
            if (!RowHoldsData(table, r)) {
                continue;
            }
            sheet.students_.push_back({index, r});
            for (size_t f = 0; f < fields.size(); ++f) {
                marks[f].push_back(rowMarks[f][static_cast<size_t>(r - 1)]);
            }
            rawSums.push_back(rowSums[static_cast<size_t>(r - 1)]);
        }
    }
    for (size_t f = 0; f < fields.size(); ++f) {
        if (std::none_of(marks[f].begin(), marks[f].end(), [](const auto& m) { return m.has_value(); })) {
            ScoreAssignmentSheet refused;
            refused.refusal = NoMarksInFieldMessage(fields[f]);
            return refused;
        }
        sheet.fields_.push_back(AssignScores(marks[f], bands));
        std::vector<std::optional<double>>().swap(marks[f]);
    }

    // 赋分总分: the raw subjects' sum and each converted subject's 赋分; nothing without subjects.
    const size_t count = sheet.students_.size();
    sheet.totals_.assign(count, std::nullopt);
    for (size_t i = 0; i < count && !subjects.empty(); ++i) {
        std::optional<double> sum = rawSums[i];
        for (size_t s = 0; s < subjects.size() && sum; ++s) {
            if (convertedSubject[s] >= 0) {
                const std::optional<int>& score = sheet.fields_[static_cast<size_t>(convertedSubject[s])].score[i];
                sum = score ? std::optional<double>(*sum + *score) : std::nullopt;
            }
        }
        if (sum) {
            // The total as written, so that equal totals rank equal.
            char text[kNumberTextCapacity];
            double written = 0;
            NumberToText(*sum, text, written);
            sheet.totals_[i] = written;
        }
    }
    sheet.ranks_ = CompetitionRanks(sheet.totals_);
    for (const AssignmentBand& band : bands) {
        sheet.bandNames_.push_back(band.name);
    }

    sheet.title = std::move(title) + std::string(kScoreAssignmentTitleSuffix);
    sheet.titles = {std::string(kClassColumnTitle), "姓名", "学号"};
    for (const std::string& field : fields) {
        sheet.titles.push_back(field + std::string(kRawScoreSuffix));
        sheet.titles.push_back(field + std::string(kBandSuffix));
        sheet.titles.push_back(field + std::string(kAssignedScoreSuffix));
    }
    sheet.titles.emplace_back(kAssignedTotalTitle);
    sheet.titles.emplace_back(kGradeRankTitle);

    std::string info = std::move(source);
    info += "，赋分规则：" + AssignmentBandsDescription(bands);
    for (size_t f = 0; f < fields.size(); ++f) {
        info += "；" + rangesText(fields[f], bands, sheet.fields_[f]);
    }
    for (const std::string& field : fields) {
        AppendNote(info, FieldNotes(group, field, kOtherClasses));
    }
    sheet.classInfo = std::move(info);

    if (!withoutSubject.empty()) {
        std::vector<std::string> lacking;
        for (const std::string& subject : subjects) {
            if (!EveryTableHas(tables, subject)) {
                lacking.push_back(subject);
            }
        }
        sheet.notice = "以下班级的表格“" +
                        std::string(tableName) + "”没有字段“" + JoinNames(lacking) + "”，其学生没有赋分总分：" +
                        JoinNames(withoutSubject);
    }
    return sheet;
}

void ScoreAssignmentSheet::cells(size_t i, std::vector<std::string>& out) const {
    out.clear();
    const Student& student = students_[i];
    const Source& from = sources_[student.source];
    const GradeTable& table = *from.table;
    const int r = student.row;
    std::string className = from.classCol > 0 ? std::string(table.cell(r, from.classCol)) : std::string();
    out.push_back(IsBlank(className) ? from.className : std::move(className));
    out.push_back(from.nameCol > 0 ? ShownMark(table, r, from.nameCol) : std::string());
    out.push_back(from.numberCol > 0 ? ShownMark(table, r, from.numberCol) : std::string());
    for (size_t f = 0; f < fields_.size(); ++f) {
        const int col = from.fieldCols[f];
        out.push_back(col > 0 ? ShownMark(table, r, col) : std::string());
        const int band = fields_[f].band[i];
        out.push_back(band < 0 ? std::string() : bandNames_[static_cast<size_t>(band)]);
        const std::optional<int>& score = fields_[f].score[i];
        out.push_back(score ? std::to_string(*score) : std::string());
    }
    out.push_back(totals_[i] ? NumberToText(*totals_[i]) : std::string());
    out.push_back(RankText(ranks_[i]));
}

ScoreAssignmentSheet GradeScoreAssignment(std::string_view grade, std::string_view tableName,
                                          const std::vector<ClassTable>& classes,
                                          const std::vector<std::string>& fields, const AssignmentBands& bands) {
    const TableGroup group = GroupOfClasses(classes);
    std::vector<std::string> names;
    for (const TableInGroup& t : group) {
        names.push_back(t.name);
    }
    ScoreAssignmentSheet sheet = ScoreAssignmentBuilder::build(
        std::string(grade) + " " + std::string(tableName),
        std::string(grade) + " " + classesText(names) + "的“" + std::string(tableName) + "”", tableName, group,
        fields, bands);
    if (sheet.refusal.empty()) {
        std::string leftOut = LeftOutClassesMessage(tableName, classes, fields, "赋分");
        if (!leftOut.empty() && !sheet.notice.empty()) {
            leftOut += "\n";
        }
        sheet.notice = leftOut + sheet.notice;
    }
    return sheet;
}

ScoreAssignmentSheet TableScoreAssignment(const GradeTable& table, std::string_view className,
                                          const std::vector<std::string>& fields, const AssignmentBands& bands) {
    const TableGroup one{{std::string(className), &table}};
    return ScoreAssignmentBuilder::build(table.title, "由“" + table.title + "”", table.title, one, fields, bands);
}

AnalysisResult ScoreAssignmentTable(const ScoreAssignmentSheet& sheet) {
    if (!sheet.refusal.empty()) {
        return Refusal(sheet.refusal);
    }
    const size_t rows = sheet.rowCount();
    if (!FitsInTable(rows)) {
        return Refusal(TooManyRowsMessage("等级赋分", rows));
    }
    AnalysisResult result;
    result.table = ResultTable(sheet.title, sheet.titles, {});
    GradeTable& t = *result.table;
    t.setRows(static_cast<int>(rows) + 1);
    std::vector<std::string> cells;
    for (size_t i = 0; i < rows; ++i) {
        sheet.cells(i, cells);
        for (size_t c = 0; c < cells.size(); ++c) {
            t.setCell(static_cast<int>(i) + 1, static_cast<int>(c) + 1, cells[c]);
        }
    }
    t.renumber();
    t.classInfo = sheet.classInfo;
    result.notice = sheet.notice;
    return result;
}

std::string ScoreAssignmentCsvBytes(const ScoreAssignmentSheet& sheet) {
    std::string text;
    std::string quoted;
    auto append = [&](std::string_view value) {
        quoted.clear();
        AppendCsvValue(quoted, value);
        if (IsAscii(quoted)) {
            text += quoted;
        } else {
            AppendEncodedGbk(text, quoted);
        }
    };
    append(sheet.title);
    text += "\r\n,  ";
    for (const std::string& title : sheet.titles) {
        text += ',';
        append(title);
    }
    text += "\r\n";
    std::vector<std::string> cells;
    for (size_t i = 0; i < sheet.rowCount(); ++i) {
        sheet.cells(i, cells);
        text += ',' + std::to_string(i + 1);
        for (const std::string& cell : cells) {
            text += ',';
            append(cell);
        }
        text += "\r\n";
    }
    text += "\r\n";
    return text;
}

}  // namespace scorvane
