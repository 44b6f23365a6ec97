#include "main/formula/formula_cell.h"

#include <array>
#include <charconv>
#include <limits>

#include "main/formula/evaluator.h"
#include "main/formula/number_format.h"

namespace scorvane {
namespace {

constexpr std::string_view kSelfReference = "cell(?,?)";

bool containsSelfReference(std::string_view formula) {
    // Case-insensitive search for "cell(?,?)".
    for (size_t at = formula.find("(?,?)"); at != std::string_view::npos;
         at = formula.find("(?,?)", at + 1)) {
        if (at >= 4) {
            std::string_view word = formula.substr(at - 4, 4);
            bool isCell = true;
            for (size_t i = 0; i < 4; ++i) {
                if ((word[i] | 0x20) != kSelfReference[i]) {
                    isCell = false;
                }
            }
            if (isCell) {
                return true;
            }
        }
    }
    return false;
}

// "cell" in any letter case at `at`.
bool isCellWord(std::string_view text, size_t at) {
    return at + 4 <= text.size() && (text[at] | 0x20) == 'c' && (text[at + 1] | 0x20) == 'e' &&
           (text[at + 2] | 0x20) == 'l' && (text[at + 3] | 0x20) == 'l';
}

// A row or column number: digits with spaces around them, nothing else, below `limit`.
bool readIndex(std::string_view text, int limit, int& value) {
    size_t b = 0;
    size_t e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    if (b == e || e - b > 9) {
        return false;
    }
    int v = 0;
    for (size_t i = b; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        v = v * 10 + (text[i] - '0');
    }
    if (v >= limit) {
        return false;
    }
    value = v;
    return true;
}

// Reads the reference whose "cell" starts at `at`: "(" right after the word, the row up to the next
// ",", the column up to the following ")". "?" alone in a place (written exactly "(?," and ",?)")
// stands for the formula cell's own row or column. `next` receives the position after the ")".
bool readReference(const GradeTable& table, std::string_view text, size_t at, int row, int col,
                   CellAddress& ref, size_t& next) {
    size_t open = at + 4;
    if (open >= text.size() || text[open] != '(') {
        return false;
    }
    size_t comma = text.find(',', open + 1);
    if (comma == std::string_view::npos) {
        return false;
    }
    size_t close = text.find(')', comma + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    std::string_view rowText = text.substr(open + 1, comma - open - 1);
    std::string_view colText = text.substr(comma + 1, close - comma - 1);
    if (rowText == "?") {
        ref.row = row;
    } else if (!readIndex(rowText, table.rows(), ref.row)) {
        return false;
    }
    if (colText == "?") {
        ref.col = col;
    } else if (!readIndex(colText, table.cols(), ref.col)) {
        return false;
    }
    next = close + 1;
    return true;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Appends a piece of the evaluator text unless that would make it longer than the evaluator scans.
bool appendWithin(std::string& out, std::string_view piece) {
    if (out.size() + piece.size() > kMaxExpressionLength) {
        return false;
    }
    out.append(piece);
    return true;
}

// A formula's references, found once: the text between them and, for each, its row and column as
// written ("?" for the formula cell's own; a number still to be checked against the table's counts).
// A table's formula cells repeat a few formulas row after row, so the last few are kept.
struct ReadFormula {
    struct Index {
        bool own = false;  // "?"
        bool readable = false;
        int value = 0;
    };
    struct Piece {
        size_t textEnd = 0;  // the text before the reference runs from the previous piece's end to here
        size_t next = 0;     // where the text after the reference starts
        Index row;
        Index col;
    };
    std::string formula;
    std::vector<Piece> pieces;
    bool selfReference = false;
};

// A row or column number as readIndex reads it, without its limit.
ReadFormula::Index indexAsWritten(std::string_view text) {
    ReadFormula::Index index;
    if (text == "?") {
        index.own = true;
        index.readable = true;
        return index;
    }
    index.readable = readIndex(text, std::numeric_limits<int>::max(), index.value);
    return index;
}

const ReadFormula& readFormula(std::string_view formula) {
    thread_local std::array<ReadFormula, 4> kept;
    thread_local size_t nextSlot = 0;
    for (const ReadFormula& f : kept) {
        if (f.formula == formula) {  // (a slot never used holds the reading of the empty formula)
            return f;
        }
    }
    ReadFormula& f = kept[nextSlot];
    nextSlot = (nextSlot + 1) % kept.size();
    f.formula.assign(formula);
    f.pieces.clear();
    f.selfReference = containsSelfReference(formula);
    size_t pos = 0;
    while (pos + 4 <= formula.size()) {
        if (!isCellWord(formula, pos)) {
            ++pos;
            continue;
        }
        ReadFormula::Piece piece;
        piece.textEnd = pos;
        const size_t open = pos + 4;
        size_t comma = std::string_view::npos;
        size_t close = std::string_view::npos;
        if (open < formula.size() && formula[open] == '(') {
            comma = formula.find(',', open + 1);
            if (comma != std::string_view::npos) {
                close = formula.find(')', comma + 1);
            }
        }
        if (close == std::string_view::npos) {
            // Unreadable: the reference fails, and with it the formula (row and column stay unreadable).
            f.pieces.push_back(piece);
            return f;
        }
        piece.row = indexAsWritten(formula.substr(open + 1, comma - open - 1));
        piece.col = indexAsWritten(formula.substr(comma + 1, close - comma - 1));
        piece.next = close + 1;
        f.pieces.push_back(piece);
        if (!piece.row.readable || !piece.col.readable) {
            return f;
        }
        pos = close + 1;
    }
    return f;
}

// The reference's cell seen from (row, col), when it lies inside the table.
bool referencedCell(const GradeTable& table, const ReadFormula::Piece& piece, int row, int col, CellAddress& ref) {
    if (!piece.row.readable || !piece.col.readable) {
        return false;
    }
    ref.row = piece.row.own ? row : piece.row.value;
    ref.col = piece.col.own ? col : piece.col.value;
    return (piece.row.own || ref.row < table.rows()) && (piece.col.own || ref.col < table.cols());
}

}  // namespace

// Inserted text is never looked at again. The formula is taken as it stands: names are matched in any
// letter case by the evaluator, and a "(?," or ",?)" outside a reference leaves its "," in the text,
// which no evaluation accepts; so the outcome equals lower-casing the formula and replacing those
// wildcards first.
bool ExpandFormulaReferences(const GradeTable& table, std::string_view formula, int row, int col,
                             std::string& out) {
    out.clear();
    const ReadFormula& read = readFormula(formula);
    size_t copied = 0;
    for (const ReadFormula::Piece& piece : read.pieces) {
        if (!appendWithin(out, formula.substr(copied, piece.textEnd - copied))) {
            return false;
        }
        CellAddress ref;
        if (!referencedCell(table, piece, row, col, ref)) {
            return false;
        }
        copied = piece.next;
        const std::string_view referenced = table.cell(ref.row, ref.col);
        if (!appendWithin(out, isBlank(referenced) ? std::string_view("0") : referenced)) {
            return false;
        }
    }
    return appendWithin(out, formula.substr(copied));
}

bool IsFormula(std::string_view text) {
    return text.substr(0, kFormulaMarker.size()) == kFormulaMarker;
}

std::string FormulaValue(const GradeTable& table, std::string_view formula, int row, int col) {
    // Working buffers reused from call to call: a table's worth of formulas allocates nothing.
    thread_local std::string expression;
    thread_local std::string result;
    if (!ExpandFormulaReferences(table, formula, row, col, expression) ||
        !EvaluateExpressionInto(expression, result)) {
        return std::string(kFormulaError);
    }
    return FormatForDisplay(result, table.dataFormat);
}

std::string 公式2值(const GradeTable& table, int row, int col) {
    if (!table.contains(row, col)) {
        return {};
    }
    const std::string_view text = table.cell(row, col);
    if (!IsFormula(text)) {
        return std::string(text);
    }
    std::string_view formula = text.substr(kFormulaMarker.size());
    if (readFormula(formula).selfReference) {
        return std::string(kReferenceError);
    }
    return FormulaValue(table, formula, row, col);
}

bool ReadFormulaReference(const GradeTable& table, std::string_view formula, size_t at, int row, int col,
                          CellAddress& ref, size_t& next) {
    return isCellWord(formula, at) && readReference(table, formula, at, row, col, ref, next);
}

bool ContainsSelfReference(std::string_view formula) {
    return containsSelfReference(formula);
}

std::vector<CellAddress> FormulaReferences(const GradeTable& table, std::string_view formula, int row,
                                           int col) {
    std::vector<CellAddress> found;
    size_t pos = 0;
    while (pos + 4 <= formula.size()) {
        if (!isCellWord(formula, pos)) {
            ++pos;
            continue;
        }
        CellAddress ref;
        if (!readReference(table, formula, pos, row, col, ref, pos)) {
            break;
        }
        found.push_back(ref);
    }
    return found;
}

}  // namespace scorvane
