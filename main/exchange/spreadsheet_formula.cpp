#include "main/exchange/spreadsheet_formula.h"

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
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class Translator {
  public:
    Translator(const GradeTable& table, std::string_view formula, int row, int col)
        : table_(table), text_(formula), row_(row), col_(col) {}

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
            const std::string_view referenced = table_.cell(tok_.ref.row, tok_.ref.col);
            double value = 0;
            if (!referenced.empty() && !ReadSheetNumber(referenced, value)) {
                return false;  // the spreadsheet would see text where the formula reads a value
            }
            out.sheet = SheetAddress(tok_.ref.row, tok_.ref.col);
            out.check.assign("(").append(referenced.empty() ? std::string_view("0") : referenced).append(")");
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

std::optional<std::string> sheetFormula(const GradeTable& table, int row, int col, std::string& checked) {
    const std::string_view text = table.cell(row, col);
    if (!IsFormula(text)) {
        return std::nullopt;
    }
    const std::string_view formula = text.substr(kFormulaMarker.size());
    Piece piece;
    if (ContainsSelfReference(formula) || !Translator(table, formula, row, col).run(piece) ||
        !EvaluateExpressionInto(piece.check, checked)) {
        return std::nullopt;
    }
    checked = FormatForDisplay(checked, table.dataFormat);
    std::string out = std::move(piece.sheet);
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
