#include "main/formula/evaluator.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "main/formula/number_text.h"

namespace scorvane {
namespace {

// The previous result: one value for the whole process.
std::atomic<double> gPreviousResult{0.0};

// pi as the system has always written it, 15 digits; angles convert with this value, not the exact one.
constexpr double kPi = 3.14159265358979;
constexpr double kDegreesToRadians = kPi / 180;
constexpr double kRadiansToDegrees = 180 / kPi;

enum class Tok : uint8_t { End, Plus, Minus, Star, Slash, Caret, LParen, RParen, Number, Name };

// clang-format off
// The names the evaluator knows. The inverse functions come last: they answer in degrees.
enum class Name : uint8_t {
    None,
    Pi, E, Ans,                              // constants
    Sr, Log, Ln,                             // square root, common and natural logarithm
    Sin, Cos, Tan, Sec, Csc, Cot,            // circular, in degrees
    Hsn, Hcs, Htn, Hsc, Hcc, Hct,            // hyperbolic, of degrees taken as radians
    Isn, Ics, Itn, Isc, Icc, Ict,            // inverse circular
    Ihs, Ihc, Iht, Ihsc, Ihcc, Ihct,         // inverse hyperbolic
};
// clang-format on

constexpr uint32_t pack(std::string_view s) {
    uint32_t v = 0;
    for (char c : s) {
        v = (v << 8) | static_cast<unsigned char>(c);
    }
    return v;
}

struct NameEntry {
    uint32_t packed;  // the lower-case letters, one byte each
    Name name;
};

// clang-format off
constexpr NameEntry kNames[] = {
    {pack("pi"), Name::Pi},   {pack("e"), Name::E},     {pack("ans"), Name::Ans},
    {pack("sr"), Name::Sr},   {pack("log"), Name::Log}, {pack("ln"), Name::Ln},
    {pack("sin"), Name::Sin}, {pack("cos"), Name::Cos}, {pack("tan"), Name::Tan},
    {pack("sec"), Name::Sec}, {pack("csc"), Name::Csc}, {pack("cot"), Name::Cot},
    {pack("hsn"), Name::Hsn}, {pack("hcs"), Name::Hcs}, {pack("htn"), Name::Htn},
    {pack("hsc"), Name::Hsc}, {pack("hcc"), Name::Hcc}, {pack("hct"), Name::Hct},
    {pack("isn"), Name::Isn}, {pack("ics"), Name::Ics}, {pack("itn"), Name::Itn},
    {pack("isc"), Name::Isc}, {pack("icc"), Name::Icc}, {pack("ict"), Name::Ict},
    {pack("ihs"), Name::Ihs}, {pack("ihc"), Name::Ihc}, {pack("iht"), Name::Iht},
    {pack("ihsc"), Name::Ihsc}, {pack("ihcc"), Name::Ihcc}, {pack("ihct"), Name::Ihct},
};
// clang-format on

// "help" is reserved and, like every unknown name, is None: it fails wherever it stands.
Name lookupName(uint32_t packed) {
    for (const NameEntry& entry : kNames) {
        if (entry.packed == packed) {
            return entry.name;
        }
    }
    return Name::None;
}

bool isConstant(Name n) {
    return n == Name::Pi || n == Name::E || n == Name::Ans;
}

double sign(double v) {
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

// Checked arithmetic: every step that would divide by zero, leave the double range or leave a
// function's domain fails the evaluation, as each step of the system's arithmetic always has.
struct Checked {
    bool ok = true;

    double fin(double v) {
        if (!std::isfinite(v)) {
            ok = false;
        }
        return v;
    }
    double mul(double a, double b) { return fin(a * b); }
    double add(double a, double b) { return fin(a + b); }
    double sub(double a, double b) { return fin(a - b); }
    double div(double a, double b) {
        if (b == 0) {
            ok = false;
            return 0;
        }
        return fin(a / b);
    }
    double sqrt(double v) {
        if (v < 0) {
            ok = false;
            return 0;
        }
        return std::sqrt(v);
    }
    double ln(double v) {
        if (!(v > 0)) {
            ok = false;
            return 0;
        }
        return std::log(v);
    }
    double exp(double v) { return fin(std::exp(v)); }
    double pow(double base, double exponent) { return fin(std::pow(base, exponent)); }
    double sq(double v) { return mul(v, v); }
};

// Applies a function to its operand, by the system's own formulas (also where an inverse differs from
// the textbook one: stored formulas rely on them); false on any arithmetic fault.
bool applyFunction(Name fn, double x, double& result) {
    Checked k;
    const double halfPi = 2 * std::atan(1.0);
    const double y = k.mul(x, kDegreesToRadians);  // the operand of circular and hyperbolic functions
    double r = 0;
    // clang-format off
    switch (fn) {
        case Name::Sr:   r = k.sqrt(x); break;
        case Name::Log:  r = k.div(k.ln(x), std::log(10.0)); break;
        case Name::Ln:   r = k.ln(x); break;
        case Name::Sin:  r = std::sin(y); break;
        case Name::Cos:  r = std::cos(y); break;
        case Name::Tan:  r = std::tan(y); break;
        case Name::Sec:  r = k.div(1, std::cos(y)); break;
        case Name::Csc:  r = k.div(1, std::sin(y)); break;
        case Name::Cot:  r = k.div(1, std::tan(y)); break;
        case Name::Hsn:  r = k.div(k.sub(k.exp(y), k.exp(-y)), 2); break;
        case Name::Hcs:  r = k.div(k.add(k.exp(y), k.exp(-y)), 2); break;
        case Name::Htn:  r = k.div(k.sub(k.exp(y), k.exp(-y)), k.add(k.exp(-y), k.exp(y))); break;
        case Name::Hsc:  r = k.div(2, k.add(k.exp(y), k.exp(-y))); break;
        case Name::Hcc:  r = k.div(2, k.sub(k.exp(y), k.exp(-y))); break;
        case Name::Hct:  r = k.div(k.add(k.exp(y), k.exp(-y)), k.sub(k.exp(y), k.exp(-y))); break;
        case Name::Isn:  r = std::atan(k.div(x, k.sqrt(k.sub(1, k.sq(x))))); break;
        case Name::Ics:  r = std::atan(k.div(-x, k.sqrt(k.sub(1, k.sq(x))))) + halfPi; break;
        case Name::Itn:  r = std::atan(x); break;
        case Name::Isc:  r = std::atan(k.div(x, k.sqrt(k.sub(k.sq(x), 1)))) + sign(x - 1) * halfPi; break;
        case Name::Icc:  r = std::atan(k.div(x, k.sqrt(k.sub(k.sq(x), 1)))) + (sign(x) - 1) * halfPi; break;
        case Name::Ict:  r = std::atan(x) + halfPi; break;
        case Name::Ihs:  r = k.ln(k.add(x, k.sqrt(k.add(k.sq(x), 1)))); break;
        case Name::Ihc:  r = k.ln(k.add(x, k.sqrt(k.sub(k.sq(x), 1)))); break;
        case Name::Iht:  r = k.div(k.ln(k.div(1 + x, 1 - x)), 2); break;
        case Name::Ihsc: r = k.ln(k.div(k.sqrt(k.sub(1, k.sq(x))) + 1, x)); break;
        case Name::Ihcc: r = k.ln(k.div(k.add(sign(x) * k.sqrt(k.add(k.sq(x), 1)), 1), x)); break;
        case Name::Ihct: r = k.div(k.ln(k.div(x + 1, x - 1)), 2); break;
        default:         return false;
    }
    // clang-format on
    if (fn >= Name::Isn) {
        r = k.mul(r, kRadiansToDegrees);
    }
    if (!k.ok || !std::isfinite(r)) {
        return false;
    }
    result = r;
    return true;
}

// One pending step of the parse, kept on an explicit stack instead of the call stack, so that text
// nested thousands of levels deep (all within the length limit) evaluates without exhausting it.
struct Frame {
    enum Kind : uint8_t {
        Sum,       // a sum of terms: value so far, the operator waiting for the next term
        Product,   // a product of powers: value so far, the operator waiting for the next power
        Power,     // a factor and an optional "^": waiting for the factor, or for a "(...)" exponent
        Group,     // "(" expression, closed by ")" or the end of the text; maybe a function's operand
        Negation,  // "-" expression: negates the whole expression that follows
    };
    Kind kind;
    uint8_t op = 0;  // Sum: '+', '-' or 0 before the first term; Product: '*', '/' or 0; Power: 1
                     // while waiting for a parenthesised exponent
    Name function = Name::None;
    double value = 0;
};

class Evaluation {
  public:
    // `frames` must hold 4 frames per character of the text and 4 more: each "(", "-" or "^("
    // opens at most 4, as does the start.
    Evaluation(std::string_view text, Frame* frames)
        : p_(text.data()), end_(text.data() + text.size()), frames_(frames) {}

    bool run(double& result);

  private:
    bool next();
    bool scanNumber();
    bool scanName();
    void push(Frame::Kind kind, Name function = Name::None) {
        Frame& f = frames_[depth_++];
        f.kind = kind;
        f.op = 0;
        f.function = function;
        f.value = 0;
    }
    void pop() { --depth_; }
    Frame& top() { return frames_[depth_ - 1]; }
    void beginExpression() {
        push(Frame::Sum);
        push(Frame::Product);
        push(Frame::Power);
    }

    const char* p_;
    const char* end_;
    Frame* frames_;
    size_t depth_ = 0;
    Tok tok_ = Tok::End;
    double number_ = 0;
    Name name_ = Name::None;
};

// Reads the next token. Characters that form no token and unknown names fail at once: no rule of the
// grammar accepts them anywhere, so the evaluation could only fail later.
bool Evaluation::next() {
    while (p_ < end_ && *p_ == ' ') {
        ++p_;
    }
    if (p_ >= end_) {
        tok_ = Tok::End;
        return true;
    }
    char c = *p_;
    switch (c) {
        case '+':
            tok_ = Tok::Plus;
            ++p_;
            return true;
        case '-':
            tok_ = Tok::Minus;
            ++p_;
            return true;
        case '*':
            tok_ = Tok::Star;
            ++p_;
            return true;
        case '/':
            tok_ = Tok::Slash;
            ++p_;
            return true;
        case '^':
            tok_ = Tok::Caret;
            ++p_;
            return true;
        case '(':
            tok_ = Tok::LParen;
            ++p_;
            return true;
        case ')':
            tok_ = Tok::RParen;
            ++p_;
            return true;
        default:
            break;
    }
    if ((c >= '0' && c <= '9') || c == '.') {
        return scanNumber();
    }
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        return scanName();
    }
    return false;
}

// Digits, then every following ".", then digits: "1.2.3" is "1.2" and ".3"; "1..2" and "." fail.
bool Evaluation::scanNumber() {
    const char* start = p_;
    uint64_t whole = 0;
    int wholeDigits = 0;
    bool nonZeroWhole = false;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
        if (wholeDigits < 18) {
            whole = whole * 10 + static_cast<uint64_t>(*p_ - '0');
        }
        nonZeroWhole = nonZeroWhole || *p_ != '0';
        ++wholeDigits;
        ++p_;
    }
    int dots = 0;
    while (p_ < end_ && *p_ == '.') {
        ++dots;
        ++p_;
    }
    int fractionDigits = 0;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
        ++fractionDigits;
        ++p_;
    }
    if (dots > 1 || wholeDigits + fractionDigits == 0) {
        return false;
    }
    tok_ = Tok::Number;
    if (fractionDigits == 0 && wholeDigits <= 15) {
        number_ = static_cast<double>(whole);  // exact
        return true;
    }
    auto [ptr, ec] = std::from_chars(start, p_, number_, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // A literal has no exponent: out of range is either too large (fails) or too small (zero).
        if (nonZeroWhole) {
            return false;
        }
        number_ = 0;
        return true;
    }
    return ec == std::errc() && ptr == p_;
}

bool Evaluation::scanName() {
    uint32_t packed = 0;
    int length = 0;
    while (p_ < end_ && ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z'))) {
        char lower = static_cast<char>(*p_ | 0x20);
        packed = (packed << 8) | static_cast<unsigned char>(lower);
        ++length;
        ++p_;
    }
    if (length > 4) {
        return false;
    }
    name_ = lookupName(packed);
    tok_ = Tok::Name;
    return name_ != Name::None;
}

bool Evaluation::run(double& result) {
    if (!next()) {
        return false;
    }
    beginExpression();
    Checked k;
    double v = 0;
    for (;;) {
        // A factor is wanted: produce its value, or open the construct that will.
        switch (tok_) {
            case Tok::Number:
                v = number_;
                if (!next())
                    return false;
                break;
            case Tok::LParen:
                if (!next())
                    return false;
                push(Frame::Group);
                beginExpression();
                continue;
            case Tok::Minus:
                if (!next())
                    return false;
                push(Frame::Negation);
                beginExpression();
                continue;
            case Tok::Name:
                if (isConstant(name_)) {
                    v = name_ == Name::Pi ? kPi : name_ == Name::E ? std::exp(1.0) : gPreviousResult.load();
                    if (!next())
                        return false;
                    break;
                } else {
                    Name fn = name_;
                    if (!next())
                        return false;
                    if (tok_ == Tok::Number) {
                        if (!applyFunction(fn, number_, v) || !next())
                            return false;
                        break;
                    }
                    if (tok_ != Tok::LParen || !next()) {
                        return false;
                    }
                    push(Frame::Group, fn);
                    beginExpression();
                    continue;
                }
            default:
                return false;
        }

        // Hand the value up through the pending steps until one of them wants another factor.
        bool wantFactor = false;
        while (!wantFactor) {
            Frame& f = top();
            switch (f.kind) {
                case Frame::Power:
                    if (f.op == 1) {  // the parenthesised exponent is complete
                        if (tok_ != Tok::RParen || !next())
                            return false;
                        v = k.pow(f.value, v);
                        pop();
                        break;
                    }
                    if (tok_ != Tok::Caret) {
                        pop();
                        break;
                    }
                    if (!next())
                        return false;
                    if (tok_ == Tok::Number) {
                        v = k.pow(v, number_);
                        if (!next())
                            return false;
                        pop();
                        break;
                    }
                    if (tok_ != Tok::LParen || !next()) {
                        return false;
                    }
                    f.op = 1;
                    f.value = v;
                    beginExpression();
                    wantFactor = true;
                    break;
                case Frame::Product:
                    f.value = f.op == 0 ? v : f.op == '*' ? k.mul(f.value, v) : k.div(f.value, v);
                    if (tok_ == Tok::Star || tok_ == Tok::Slash) {
                        f.op = tok_ == Tok::Star ? '*' : '/';
                        if (!next())
                            return false;
                    } else if (tok_ == Tok::Number || tok_ == Tok::Name || tok_ == Tok::LParen) {
                        f.op = '*';  // written side by side: "2(3+1)", "2pi"
                    } else {
                        v = f.value;
                        pop();
                        break;
                    }
                    push(Frame::Power);
                    wantFactor = true;
                    break;
                case Frame::Sum:
                    f.value = f.op == 0 ? v : f.op == '+' ? k.add(f.value, v) : k.sub(f.value, v);
                    if (tok_ == Tok::Plus || tok_ == Tok::Minus) {
                        f.op = tok_ == Tok::Plus ? '+' : '-';
                        if (!next())
                            return false;
                        push(Frame::Product);
                        push(Frame::Power);
                        wantFactor = true;
                        break;
                    }
                    v = f.value;
                    pop();
                    if (depth_ == 0) {
                        if (!k.ok || tok_ != Tok::End) {
                            return false;
                        }
                        result = v;
                        return true;
                    }
                    break;
                case Frame::Group:
                    // ")" closes the group; only at the very end of the text may it be missing.
                    if (tok_ == Tok::RParen) {
                        if (!next())
                            return false;
                    } else if (tok_ != Tok::End) {
                        return false;
                    }
                    if (f.function != Name::None && !applyFunction(f.function, v, v)) {
                        return false;
                    }
                    pop();
                    break;
                case Frame::Negation:
                    v = -v;
                    pop();
                    break;
            }
            if (!k.ok) {
                return false;
            }
        }
    }
}

// Whole numbers of up to 15 digits, each perhaps in brackets of its own ("(85)"), joined by "+": their
// sum, added left to right as the evaluation adds them (each such number is exact in a double, and a
// bracketed one is the same number); false for any other text.
bool wholeNumberSum(std::string_view text, double& sum) {
    sum = 0;
    size_t i = 0;
    bool first = true;
    while (true) {
        const bool bracket = i < text.size() && text[i] == '(';
        i += bracket ? 1 : 0;
        uint64_t number = 0;
        const size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            number = number * 10 + static_cast<uint64_t>(text[i] - '0');
            ++i;
        }
        if (i == start || i - start > 15) {
            return false;
        }
        if (bracket) {
            if (i == text.size() || text[i] != ')') {
                return false;
            }
            ++i;
        }
        sum = first ? static_cast<double>(number) : sum + static_cast<double>(number);
        first = false;
        if (i == text.size()) {
            return true;
        }
        if (text[i] != '+') {
            return false;
        }
        ++i;
    }
}

// The commonest formulas of a grade table, a total ("85+90+77") and an average ("(85+90+77)/3"), also
// with each number bracketed, computed exactly as the evaluation computes them, without its parse;
// false for any other text.
bool evaluateTotalOrAverage(std::string_view text, double& value) {
    if (wholeNumberSum(text, value)) {
        return true;
    }
    const size_t close = text.rfind(")/");
    if (text.empty() || text[0] != '(' || close == std::string_view::npos) {
        return false;
    }
    double sum = 0;
    double divisor = 0;
    const std::string_view divisorText = text.substr(close + 2);
    if (!wholeNumberSum(text.substr(1, close - 1), sum) || divisorText.empty() || divisorText[0] < '0' ||
        divisorText[0] > '9' || !wholeNumberSum(divisorText, divisor) ||
        divisorText.find('+') != std::string_view::npos || divisor == 0) {
        return false;
    }
    value = sum / divisor;
    return std::isfinite(value);
}

}  // namespace

bool EvaluateExpressionInto(std::string_view text, std::string& out) {
    thread_local std::vector<Frame> frames;
    double value = 0;
    if (text.size() > kMaxExpressionLength) {
        out.assign(kFormulaError);
        return false;
    }
    if (!evaluateTotalOrAverage(text, value)) {
        if (frames.size() < 4 * text.size() + 4) {
            frames.resize(4 * text.size() + 4);
        }
        if (!Evaluation(text, frames.data()).run(value)) {
            out.assign(kFormulaError);
            return false;
        }
    }
    char buffer[kNumberTextCapacity];
    double rounded = 0;
    size_t n = NumberToText(value, buffer, rounded);
    out.assign(buffer, n);
    gPreviousResult.store(rounded);
    return true;
}

std::string EvaluateExpression(std::string_view text) {
    std::string out;
    EvaluateExpressionInto(text, out);
    return out;
}

double PreviousResult() {
    return gPreviousResult.load();
}
void ResetPreviousResult() {
    gPreviousResult.store(0.0);
}

}  // namespace scorvane
