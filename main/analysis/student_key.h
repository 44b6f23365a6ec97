#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// How the analyses over several tables tell which rows are the same student.

inline constexpr std::string_view kStudentNumberField = "学号";
inline constexpr std::string_view kStudentNameField = "姓名";
inline constexpr std::string_view kNoStudentKeyMessage = "请选择对应学生所依据的字段！";

struct StudentKey {
    std::string field;
    // Set for the default key 学号: a student whose 学号 cell is empty is matched by 姓名 instead.
    bool byNameWhenEmpty = false;
};

// 学号 (by 姓名 where a student's 学号 is empty) when every table has a field 学号, else 姓名.
StudentKey DefaultStudentKey(const std::vector<const GradeTable*>& tables);

// A key chosen by the user: that field alone, except that 学号 keeps the 姓名 of a student without one.
StudentKey ChosenStudentKey(std::string_view field);

// The keys a window offers: the fields every table has that hold no marks (not NumericFieldsOfTables),
// such as 姓名, 学号 and 考号.
std::vector<std::string> StudentKeyChoices(const std::vector<const GradeTable*>& tables);

// The students of one table by key. A data row that holds nothing (see RowHoldsData) or whose key is
// empty is no student to match and has no key. A 学号 and a 姓名 standing for it never match each
// other.
struct StudentRows {
    std::vector<std::string> keys;               // per data row (element r - 1 for row r), empty: none
    std::unordered_map<std::string, int> rowOf;  // key -> data row
};

// The rows of `table` (known as `tableName`) by `key`. Refused, with the message, when the table lacks
// the key field ("表格“NAME”中没有字段“学号”！") or two rows hold the same key
// ("表格“NAME”第 3 行和第 7 行的学号都是“01”，无法对应学生！").
std::optional<std::string> ReadStudentRows(const GradeTable& table, std::string_view tableName,
                                           const StudentKey& key, StudentRows& out);

// The marks of the field at `col` (FieldRowMarks) of the rows that are students: nothing for a row
// without a key, so that such a row is never ranked.
std::vector<std::optional<double>> StudentMarks(const GradeTable& table, int col,
                                                const StudentRows& students);

}  // namespace scorvane
