#include "main/workbook/workbook_export_formula.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "main/formula/evaluator.h"
#include "main/formula/formula_cell.h"
#include "main/formula/number_format.h"

namespace scorvane {
namespace {

// The longest formula a spreadsheet takes, and how deeply a translated formula may nest.
constexpr size_t kMaxSheetFormula = 8192;
constexpr int kMaxDepth = 100;

// Degrees to radians and back with the evaluator's 15-digit pi.
constexpr std::string_view kToRadians = "*(3.14159265358979/180)";
constexpr std::string_view kToDegrees = "*(180/3.14159265358979)";

// How tightly a written piece holds together, so that brackets go only where they must.
enum Binding { kSum = 1, kProduct = 2, kNegation = 3, kPower = 4, kAtom = 5 };

// A piece of the formula twice: as the spreadsheet writes it, and as fully bracketed evaluator text.
struct Piece {
    std::string sheet;
    std::string check;
    Binding binding = kAtom;
};

std::string bracketed(const Piece& p, Binding least) {
    return p.binding >= least ? p.sheet : "(" + p.sheet + ")";
}

enum class Tok { End, Op, Number, Name, Ref, Bad };

struct Token {
    Tok kind = Tok::End;
    char op = 0;
    std::string text;  // Number: the literal; Name: the lower-case name
    CellAddress ref;
    size_t at = 0;  // Ref: where its word "cell" starts
};

// In a translation made once for all the rows of a formula, the n-th reference stands in the sheet's
// text as kSheetSlot, n, kSlotEnd and in the bracketed reading as kCheckSlot, n, kSlotEnd; each row
// puts its own address and value there. No translated text holds these bytes otherwise.
constexpr char kSheetSlot = '\x01';
constexpr char kCheckSlot = '\x02';
constexpr char kSlotEnd = '\x03';

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Reads the formula as a tree and writes it back twice (see Piece). Whether a text is a reference, and
// so the tree, depends on the table's size only, never on the row; the values referenced are left to
// each row: every reference becomes a slot (see kSheetSlot), its place in the formula kept in `slots`.
class Translator {
  public:
    Translator(const GradeTable& table, std::string_view formula, int row, int col,
               std::vector<size_t>& slots)
        : table_(table), text_(formula), row_(row), col_(col), slots_(slots) {}

    bool run(Piece& out) {
        next();
        return expression(out, 0) && tok_.kind == Tok::End;
    }

  private:
    // A reference starts at p_ when "cell" begins there and reads as one.
    bool referenceAt(size_t at, CellAddress& ref, size_t& after) const {
        return ReadFormulaReference(table_, text_, at, row_, col_, ref, after);
    }

    void next() {
        while (p_ < text_.size() && text_[p_] == ' ') {
            ++p_;
        }
        tok_ = Token{};
        if (p_ >= text_.size()) {
            return;
        }
        size_t after = 0;
        if (referenceAt(p_, tok_.ref, after)) {
            tok_.kind = Tok::Ref;
            tok_.at = p_;
            p_ = after;
            return;
        }
        const char c = text_[p_];
        if (std::string_view("+-*/^()").find(c) != std::string_view::npos) {
            tok_.kind = Tok::Op;
            tok_.op = c;
            ++p_;
        } else if ((c >= '0' && c <= '9') || c == '.') {
            size_t start = p_;
            while (p_ < text_.size() && ((text_[p_] >= '0' && text_[p_] <= '9') || text_[p_] == '.')) {
                ++p_;
            }
            tok_.kind = Tok::Number;
            tok_.text = std::string(text_.substr(start, p_ - start));
        } else if (isLetter(c)) {
            // A run of letters, ended also where a reference begins ("2pi" and "picell(1,2)").
            CellAddress ignored;
            while (p_ < text_.size() && isLetter(text_[p_]) &&
                   !(tok_.text.size() && referenceAt(p_, ignored, after))) {
                tok_.text.push_back(static_cast<char>(text_[p_] | 0x20));
                ++p_;
            }
            tok_.kind = Tok::Name;
        } else {
            tok_.kind = Tok::Bad;
        }
    }

    bool isOp(char c) const { return tok_.kind == Tok::Op && tok_.op == c; }

    bool expression(Piece& out, int depth) {
        if (depth > kMaxDepth || !term(out, depth)) {
            return false;
        }
        while (isOp('+') || isOp('-')) {
            const char op = tok_.op;
            next();
            Piece right;
            if (!term(right, depth)) {
                return false;
            }
            out.sheet = bracketed(out, kSum) + op + bracketed(right, kProduct);
            out.check = "(" + out.check + ")" + op + "(" + right.check + ")";
            out.binding = kSum;
        }
        return true;
    }

    bool term(Piece& out, int depth) {
        if (!power(out, depth)) {
            return false;
        }
        for (;;) {
            char op = '*';
            if (isOp('*') || isOp('/')) {
                op = tok_.op;
                next();
            } else if (!(tok_.kind == Tok::Number || tok_.kind == Tok::Name || tok_.kind == Tok::Ref ||
                         isOp('('))) {
                return true;
            }
            Piece right;
            if (!power(right, depth)) {
                return false;
            }
            out.sheet = bracketed(out, kProduct) + op + bracketed(right, kNegation);
            out.check = "(" + out.check + ")" + op + "(" + right.check + ")";
            out.binding = kProduct;
        }
    }

    bool power(Piece& out, int depth) {
        if (!factor(out, depth)) {
            return false;
        }
        if (!isOp('^')) {
            return true;
        }
        next();
        Piece exponent;
        if (tok_.kind == Tok::Number || tok_.kind == Tok::Ref) {
            if (!operand(exponent)) {
                return false;
            }
        } else if (isOp('(')) {
            next();
            if (!expression(exponent, depth + 1) || !isOp(')')) {
                return false;
            }
            next();
        } else {
            return false;
        }
        out.sheet = bracketed(out, kAtom) + "^" + bracketed(exponent, kAtom);
        out.check = "(" + out.check + ")^(" + exponent.check + ")";
        out.binding = kPower;
        return true;
    }

    // A number literal or a reference, at the current token.
    bool operand(Piece& out) {
        if (tok_.kind == Tok::Number) {
            double value = 0;
            auto [end, ec] = std::from_chars(tok_.text.data(), tok_.text.data() + tok_.text.size(), value,
                                             std::chars_format::fixed);
            if (ec != std::errc() || end != tok_.text.data() + tok_.text.size() || !std::isfinite(value)) {
                return false;
            }
            char buffer[40];
            auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
            out.sheet.assign(buffer, written.ptr);
            for (char& c : out.sheet) {
                c = c == 'e' ? 'E' : c;
            }
            out.check = tok_.text;
        } else if (tok_.kind == Tok::Ref) {
            const std::string slot = std::to_string(slots_.size()) + kSlotEnd;
            slots_.push_back(tok_.at);
            out.sheet = kSheetSlot + slot;
            out.check = kCheckSlot + slot;
        } else {
            return false;
        }
        out.binding = kAtom;
        next();
        return true;
    }

    bool factor(Piece& out, int depth) {
        if (tok_.kind == Tok::Number || tok_.kind == Tok::Ref) {
            return operand(out);
        }
        if (isOp('(')) {
            next();
            if (!group(out, depth)) {
                return false;
            }
            out.check = "(" + out.check + ")";
            return true;
        }
        if (isOp('-')) {
            next();
            Piece inner;
            if (!expression(inner, depth + 1)) {
                return false;
            }
            out.sheet = "-" + bracketed(inner, kAtom);
            out.check = "(-(" + inner.check + "))";
            out.binding = kNegation;
            return true;
        }
        if (tok_.kind != Tok::Name) {
            return false;
        }
        const std::string name = tok_.text;
        next();
        if (name == "pi") {
            out = {"3.14159265358979", "pi", kAtom};
            return true;
        }
        if (name == "e") {
            out = {"EXP(1)", "e", kAtom};
            return true;
        }
        Piece x;
        if (tok_.kind == Tok::Number || tok_.kind == Tok::Ref) {
            if (!operand(x)) {
                return false;
            }
        } else if (isOp('(')) {
            next();
            if (!group(x, depth)) {
                return false;
            }
        } else {
            return false;
        }
        if (!function(name, x, out)) {
            return false;
        }
        out.check = name + "(" + x.check + ")";
        return true;
    }

    // The rest of "(" expression ")": the ")" may be missing only at the end of the text.
    bool group(Piece& out, int depth) {
        if (!expression(out, depth + 1)) {
            return false;
        }
        if (isOp(')')) {
            next();
            return true;
        }
        return tok_.kind == Tok::End;
    }

    // The spreadsheet form of an evaluator function, by the evaluator's own formulas.
    static bool function(const std::string& name, const Piece& operand, Piece& out) {
        const std::string x = "(" + operand.sheet + ")";
        const std::string y = x + std::string(kToRadians);
        const std::string d(kToDegrees);
        const std::string halfPi = "2*ATAN(1)";
        std::string f;
        if (name == "sr")
            f = "SQRT" + x;
        else if (name == "log")
            f = "LN" + x + "/LN(10)";
        else if (name == "ln")
            f = "LN" + x;
        else if (name == "sin")
            f = "SIN(" + y + ")";
        else if (name == "cos")
            f = "COS(" + y + ")";
        else if (name == "tan")
            f = "TAN(" + y + ")";
        else if (name == "sec")
            f = "1/COS(" + y + ")";
        else if (name == "csc")
            f = "1/SIN(" + y + ")";
        else if (name == "cot")
            f = "1/TAN(" + y + ")";
        else if (name == "hsn")
            f = "SINH(" + y + ")";
        else if (name == "hcs")
            f = "COSH(" + y + ")";
        else if (name == "htn")
            f = "TANH(" + y + ")";
        else if (name == "hsc")
            f = "1/COSH(" + y + ")";
        else if (name == "hcc")
            f = "1/SINH(" + y + ")";
        else if (name == "hct")
            f = "1/TANH(" + y + ")";
        else if (name == "isn")
            f = "ATAN(" + x + "/SQRT(1-" + x + "*" + x + "))" + d;
        else if (name == "ics")
            f = "(ATAN(-" + x + "/SQRT(1-" + x + "*" + x + "))+" + halfPi + ")" + d;
        else if (name == "itn")
            f = "ATAN" + x + d;
        else if (name == "isc")
            f = "(ATAN(" + x + "/SQRT(" + x + "*" + x + "-1))+SIGN(" + x + "-1)*" + halfPi + ")" + d;
        else if (name == "icc")
            f = "(ATAN(" + x + "/SQRT(" + x + "*" + x + "-1))+(SIGN" + x + "-1)*" + halfPi + ")" + d;
        else if (name == "ict")
            f = "(ATAN" + x + "+" + halfPi + ")" + d;
        else if (name == "ihs")
            f = "LN(" + x + "+SQRT(" + x + "*" + x + "+1))" + d;
        else if (name == "ihc")
            f = "LN(" + x + "+SQRT(" + x + "*" + x + "-1))" + d;
        else if (name == "iht")
            f = "LN((1+" + x + ")/(1-" + x + "))/2" + d;
        else if (name == "ihsc")
            f = "LN((SQRT(1-" + x + "*" + x + ")+1)/" + x + ")" + d;
        else if (name == "ihcc")
            f = "LN((SIGN" + x + "*SQRT(" + x + "*" + x + "+1)+1)/" + x + ")" + d;
        else if (name == "ihct")
            f = "LN((" + x + "+1)/(" + x + "-1))/2" + d;
        else
            return false;  // "ans" (the previous result of whatever ran before), "help", unknown names
        out.sheet = std::move(f);
        out.binding = kProduct;
        return true;
    }

    const GradeTable& table_;
    std::string_view text_;
    int row_;
    int col_;
    std::vector<size_t>& slots_;
    size_t p_ = 0;
    Token tok_;
};

}  // namespace

std::string SheetAddress(int row, int col) {
    std::string letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return letters + std::to_string(row + 2);
}

bool ReadSheetNumber(std::string_view text, double& value) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == std::string_view::npos) {
        return false;
    }
    std::string_view t = text.substr(b, e - b + 1);
    size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
    size_t digitsStart = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
    }
    const size_t wholeDigits = i - digitsStart;
    if (wholeDigits == 0 || (wholeDigits > 1 && t[digitsStart] == '0')) {
        return false;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        size_t fraction = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
        }
        if (i == fraction) {
            return false;
        }
    }
    if (i != t.size()) {
        return false;
    }
    int significant = 0;
    bool leading = true;
    for (char c : t) {
        if (c >= '0' && c <= '9') {
            leading = leading && c == '0';
            significant += leading ? 0 : 1;
        }
    }
    if (significant > 15) {
        return false;
    }
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != t.data() + t.size()) {
        return false;
    }
    if (value == 0) {
        value = 0;  // "-0" is 0
    }
    return true;
}

namespace {

// A formula's translation for every row of a column, made once: a table repeats a few formulas row
// after row, so the last few are kept.
struct Translation {
    std::string formula;
    int col = -1;
    int rows = -1;  // the table's size, on which the reading of references depends
    int cols = -1;
    bool translates = false;
    std::string sheet;  // with slots
    std::string check;  // with slots
    std::vector<size_t> slots;
};

const Translation& translationOf(const GradeTable& table, std::string_view formula, int row, int col) {
    thread_local std::array<Translation, 4> kept;
    thread_local size_t nextSlot = 0;
    for (const Translation& t : kept) {
        if (t.col == col && t.rows == table.rows() && t.cols == table.cols() && t.formula == formula) {
            return t;
        }
    }
    Translation& t = kept[nextSlot];
    nextSlot = (nextSlot + 1) % kept.size();
    t.formula.assign(formula);
    t.col = col;
    t.rows = table.rows();
    t.cols = table.cols();
    t.slots.clear();
    Piece piece;
    t.translates =
        !ContainsSelfReference(formula) && Translator(table, formula, row, col, t.slots).run(piece);
    t.sheet = std::move(piece.sheet);
    t.check = std::move(piece.check);
    return t;
}

// `text` with each slot of kind `mark` replaced by what `fill` appends for that reference.
template <typename Fill>
void fillSlots(std::string_view text, char mark, Fill&& fill, std::string& out) {
    out.clear();
    size_t copied = 0;
    for (size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark, copied)) {
        out.append(text.substr(copied, at - copied));
        const size_t end = text.find(kSlotEnd, at);
        size_t n = 0;
        std::from_chars(text.data() + at + 1, text.data() + end, n);
        fill(n, out);
        copied = end + 1;
    }
    out.append(text.substr(copied));
}

std::optional<std::string> sheetFormula(const GradeTable& table, int row, int col, std::string& checked) {
    const std::string_view text = table.cell(row, col);
    if (!IsFormula(text)) {
        return std::nullopt;
    }
    const std::string_view formula = text.substr(kFormulaMarker.size());
    const Translation& t = translationOf(table, formula, row, col);
    if (!t.translates) {
        return std::nullopt;
    }
    // This row's references: the spreadsheet must see a number or nothing where the formula reads a value.
    thread_local std::vector<CellAddress> refs;
    thread_local std::vector<std::string_view> values;
    refs.assign(t.slots.size(), CellAddress{});
    values.assign(t.slots.size(), std::string_view());
    for (size_t i = 0; i < t.slots.size(); ++i) {
        size_t after = 0;
        double value = 0;
        if (!ReadFormulaReference(table, formula, t.slots[i], row, col, refs[i], after)) {
            return std::nullopt;
        }
        values[i] = table.cell(refs[i].row, refs[i].col);
        if (!values[i].empty() && !ReadSheetNumber(values[i], value)) {
            return std::nullopt;
        }
    }
    thread_local std::string check;
    fillSlots(
        t.check, kCheckSlot,
        [](size_t n, std::string& out) {
            out.append("(").append(values[n].empty() ? std::string_view("0") : values[n]).append(")");
        },
        check);
    if (!EvaluateExpressionInto(check, checked)) {
        return std::nullopt;
    }
    checked = FormatForDisplay(checked, table.dataFormat);
    std::string out;
    fillSlots(
        t.sheet, kSheetSlot,
        [](size_t n, std::string& out) { out.append(SheetAddress(refs[n].row, refs[n].col)); }, out);
    const NumberPattern pattern = ReadNumberPattern(table.dataFormat);
    if (pattern.applies) {
        out = "ROUND(" + out + "," + std::to_string(pattern.decimals) + ")";
    }
    if (out.size() > kMaxSheetFormula) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

SheetFormula TranslateFormula(const GradeTable& table, int row, int col) {
    SheetFormula out;
    std::string checked;
    out.formula = sheetFormula(table, row, col, checked);
    out.shown = 公式2值(table, row, col);
    // The spreadsheet computes the bracketed reading; it must show what the table shows.
    if (out.formula && (out.shown == kFormulaError || checked != out.shown)) {
        out.formula.reset();
    }
    return out;
}

}  // namespace scorvane
