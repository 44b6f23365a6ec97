#include "main/analysis/field_marks.h"

#include <algorithm>
#include <charconv>

#include "common/utf8.h"
#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

std::string_view trimBlanks(std::string_view text) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) {
        ++b;
    }
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) {
        --e;
    }
    return text.substr(b, e - b);
}

// Marks and absence marks together stand in at least half of the students' cells.
bool enoughMarks(int found, int students) {
    return 2 * static_cast<long long>(found) >= students;
}

// CollectFieldMarks(table, col).numeric(), without computing what cannot change the answer: the
// formulas (which give marks or nothing) are worked out only while the answer is still open.
bool numericField(const GradeTable& table, int col) {
    int students = 0;
    int found = 0;
    bool mark = false;
    std::vector<int> formulaRows;
    for (int r = 1; r < table.rows(); ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        ++students;
        const std::string_view text = table.cell(r, col);
        double value = 0;
        if (IsFormula(text)) {
            formulaRows.push_back(r);
        } else if (ReadMark(text, value)) {
            ++found;
            mark = true;
        } else if (IsAbsenceMark(text)) {
            ++found;
        }
    }
    for (int r : formulaRows) {
        if (mark && enoughMarks(found, students)) {
            break;
        }
        double value = 0;
        if (ReadMarkCell(table, r, col, value) == MarkCell::Mark) {
            ++found;
            mark = true;
        }
    }
    return mark && enoughMarks(found, students);
}

// Whose a cell of text is: the row's 姓名, else its row number.
std::string studentOfRow(const GradeTable& table, int row) {
    const int nameCol = FieldColumn(table, "姓名");
    const std::string_view name = nameCol > 0 ? TrimSpaces(table.cell(row, nameCol)) : std::string_view();
    return name.empty() || IsFormula(name) ? "第 " + std::to_string(row) + " 行" : std::string(name);
}

// True when a cell the formula refers to holds a number, or the formula refers to no cell.
bool refersToAMark(const GradeTable& table, std::string_view formula, int row, int col) {
    const std::vector<CellAddress> refs = FormulaReferences(table, formula, row, col);
    return refs.empty() || std::any_of(refs.begin(), refs.end(), [&table](const CellAddress& ref) {
               double value = 0;
               return ReadMark(table.cell(ref.row, ref.col), value);
           });
}

}  // namespace

bool IsAbsenceMark(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    for (std::string_view mark : kAbsenceMarks) {
        if (t == mark) {
            return true;
        }
    }
    return false;
}

bool ReadMark(std::string_view text, double& value) {
    std::string_view t = trimBlanks(text);
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    size_t i = 0;
    size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != t.size()) {
        return false;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != t.data() + t.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

void FieldMarks::add(const FieldMarks& other, std::string_view owner) {
    marks.insert(marks.end(), other.marks.begin(), other.marks.end());
    absent += other.absent;
    for (const TextMark& t : other.texts) {
        texts.push_back({owner.empty() ? t.student : std::string(owner) + " " + t.student, t.text});
    }
    students += other.students;
}

bool FieldMarks::numeric() const {
    return !marks.empty() && enoughMarks(static_cast<int>(marks.size()) + absent, students);
}

bool RowHoldsData(const GradeTable& table, int row) {
    for (int c = 1; c < table.cols(); ++c) {
        const std::string_view text = table.cell(row, c);
        if (!IsFormula(text) && !IsBlank(text)) {
            return true;
        }
    }
    return false;
}

MarkCell ReadMarkCell(const GradeTable& table, int row, int col, double& value) {
    const std::string_view text = table.cell(row, col);
    if (IsFormula(text)) {
        if (!RowHoldsData(table, row) || !refersToAMark(table, text.substr(kFormulaMarker.size()), row, col)) {
            return MarkCell::Nothing;
        }
        const std::string shown = 公式2值(table, row, col);
        if (shown == kFormulaError || shown == kReferenceError) {
            return MarkCell::Nothing;
        }
        // "###.##" shows 0.5 as ".5" and 0 as nothing.
        if (shown.empty()) {
            value = 0;
            return MarkCell::Mark;
        }
        return ReadMark(shown, value) ? MarkCell::Mark : MarkCell::Nothing;
    }
    if (ReadMark(text, value)) {
        return MarkCell::Mark;
    }
    if (IsAbsenceMark(text)) {
        return MarkCell::Absent;
    }
    return IsBlank(text) ? MarkCell::Nothing : MarkCell::Text;
}

std::string ShownMark(const GradeTable& table, int row, int col) {
    const std::string_view text = table.cell(row, col);
    if (IsFormula(text) && !refersToAMark(table, text.substr(kFormulaMarker.size()), row, col)) {
        return {};
    }
    return 公式2值(table, row, col);
}

FieldMarks CollectFieldMarks(const GradeTable& table, int col) {
    std::vector<RowMark> rows;
    return CollectFieldMarks(table, col, rows);
}

FieldMarks CollectFieldMarks(const GradeTable& table, int col, std::vector<RowMark>& rows) {
    FieldMarks out;
    rows.assign(static_cast<size_t>(std::max(table.rows() - 1, 0)), RowMark{});
    if (col < 1 || col >= table.cols()) {
        return out;
    }
    out.marks.reserve(static_cast<size_t>(table.rows()));
    for (int r = 1; r < table.rows(); ++r) {
        if (!RowHoldsData(table, r)) {
            continue;
        }
        ++out.students;
        double value = 0;
        RowMark& row = rows[static_cast<size_t>(r - 1)];
        row.kind = ReadMarkCell(table, r, col, value);
        row.value = value;
        switch (row.kind) {
            case MarkCell::Mark:
                out.marks.push_back(value);
                break;
            case MarkCell::Absent:
                ++out.absent;
                break;
            case MarkCell::Text:
                out.texts.push_back({studentOfRow(table, r), std::string(TrimSpaces(table.cell(r, col)))});
                break;
            case MarkCell::Nothing:
                break;
        }
    }
    return out;
}

std::vector<std::optional<double>> FieldRowMarks(const GradeTable& table, int col) {
    std::vector<std::optional<double>> out(static_cast<size_t>(std::max(table.rows() - 1, 0)));
    if (col < 1 || col >= table.cols()) {
        return out;
    }
    for (int r = 1; r < table.rows(); ++r) {
        double value = 0;
        if (ReadMarkCell(table, r, col, value) == MarkCell::Mark) {
            out[static_cast<size_t>(r - 1)] = value;
        }
    }
    return out;
}

bool IsMarkTitle(std::string_view title) {
    return !IsBlank(title) && title.find("号") == std::string_view::npos &&
           title.find("名次") == std::string_view::npos && title.find("排名") == std::string_view::npos;
}

std::string TextMarksNote(std::string_view field, const FieldMarks& marks) {
    if (marks.texts.empty()) {
        return {};
    }
    constexpr size_t kNamed = 3;
    std::string named;
    for (size_t i = 0; i < marks.texts.size() && i < kNamed; ++i) {
        named += (i > 0 ? "、" : "") + marks.texts[i].student + "：" + marks.texts[i].text;
    }
    if (marks.texts.size() > kNamed) {
        named += "等";
    }
    return std::string(field) + "：" + std::to_string(marks.texts.size()) + " 个非数字成绩未计入（" + named +
           "）";
}

int FieldColumn(const GradeTable& table, std::string_view title) {
    if (table.rows() < 1) {
        return -1;
    }
    for (int c = 1; c < table.cols(); ++c) {
        if (table.cell(0, c) == title) {
            return c;
        }
    }
    return -1;
}

std::vector<std::string> DefaultStatisticsFields(const GradeTable& table) {
    std::vector<std::string> fields;
    if (table.rows() < 1) {
        return fields;
    }
    for (int c = 1; c < table.cols(); ++c) {
        const std::string& title = table.cell(0, c);
        if (IsMarkTitle(title) && FieldColumn(table, title) == c && numericField(table, c)) {
            fields.push_back(title);
        }
    }
    return fields;
}

}  // namespace scorvane
