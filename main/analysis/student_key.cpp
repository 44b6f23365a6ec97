#include "main/analysis/student_key.h"

#include <algorithm>

#include "common/utf8.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/analysis_settings.h"
#include "main/analysis/field_marks.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

// Keys found by the 姓名 in place of an empty 学号 start with this byte, so they never equal a 学号.
constexpr char kNameKeyMark = '\x01';

std::string keyText(const GradeTable& table, int row, int col) {
    return col < 0 ? std::string() : std::string(TrimSpaces(公式2值(table, row, col)));
}

}  // namespace

StudentKey DefaultStudentKey(const std::vector<const GradeTable*>& tables) {
    if (!tables.empty() && EveryTableHas(tables, kStudentNumberField)) {
        return {std::string(kStudentNumberField), true};
    }
    return {std::string(kStudentNameField), false};
}

StudentKey ChosenStudentKey(std::string_view field) {
    return {std::string(field), field == kStudentNumberField};
}

std::vector<std::string> StudentKeyChoices(const std::vector<const GradeTable*>& tables) {
    std::vector<std::string> keys = CommonFields(tables);
    const std::vector<std::string> marks = NumericFieldsOfTables(tables);
    std::erase_if(keys, [&](const std::string& field) {
        return std::find(marks.begin(), marks.end(), field) != marks.end();
    });
    return keys;
}

std::optional<std::string> ReadStudentRows(const GradeTable& table, std::string_view tableName,
                                           const StudentKey& key, StudentRows& out) {
    const int keyCol = FieldColumn(table, key.field);
    const int nameCol = key.byNameWhenEmpty ? FieldColumn(table, kStudentNameField) : -1;
    if (keyCol < 0) {
        return MissingFieldInTableMessage(tableName, key.field);
    }
    StudentRows rows;
    rows.keys.resize(static_cast<size_t>(std::max(table.rows() - 1, 0)));
    for (int r = 1; r < table.rows(); ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        std::string k = keyText(table, r, keyCol);
        std::string_view field = key.field;
        if (IsBlank(k) && nameCol >= 0) {
            k = keyText(table, r, nameCol);
            field = kStudentNameField;
            if (!IsBlank(k)) {
                k.insert(k.begin(), kNameKeyMark);
            }
        }
        if (IsBlank(k)) {
            continue;
        }
        const auto [at, inserted] = rows.rowOf.emplace(k, r);
        if (!inserted) {
            const std::string shown = k[0] == kNameKeyMark ? k.substr(1) : k;
            return "表格“" + std::string(tableName) + "”第 " + std::to_string(at->second) + " 行和第 " +
                   std::to_string(r) + " 行的" + std::string(field) + "都是“" + shown + "”，无法对应学生！";
        }
        rows.keys[static_cast<size_t>(r - 1)] = std::move(k);
    }
    out = std::move(rows);
    return std::nullopt;
}

std::vector<std::optional<double>> StudentMarks(const GradeTable& table, int col,
                                                const StudentRows& students) {
    std::vector<std::optional<double>> marks = FieldRowMarks(table, col);
    for (size_t i = 0; i < marks.size() && i < students.keys.size(); ++i) {
        if (students.keys[i].empty()) {
            marks[i].reset();
        }
    }
    return marks;
}

}  // namespace scorvane
