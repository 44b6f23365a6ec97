#include "main/formula/evaluator.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace scorvane {
namespace {

const std::string kError(kFormulaError);

// Each text and the result it must give.
void ExpectResults(std::initializer_list<std::pair<std::string, std::string>> cases) {
    for (const auto& [text, result] : cases) {
        EXPECT_EQ(EvaluateExpression(text), result) << "text: " << text.substr(0, 40);
    }
}

void ExpectFailures(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts) {
        EXPECT_EQ(EvaluateExpression(text), kError) << "text: " << text.substr(0, 40);
    }
}

// The tables below keep several cases a line.
// clang-format off

TEST(Evaluator, TokensNumbersNamesAndSpaces) {
    ExpectResults({{"  1 + 2  ", "3"}, {"1.5+.5", "2"}, {"5.*2", "10"},
                   {"1.2.3", "0.36"},            // "1.2" then ".3", side by side
                   {"1e5", "13.5914091422952"},  // 1 times e times 5: no exponent notation
                   {"log10", "1"},               // digits end a name
                   {"LOG(100)", "2"}, {"Pi", "3.14159265358979"}, {"e", "2.71828182845905"},
                   {"12345678901234567890", "1.23456789012346E+19"}});
    ExpectFailures({"1..2", ".", "2,5", "2\t+3", "2（3）", "cell(1,2)", "abc", "pie", "help", "2#"});
}

TEST(Evaluator, PrecedenceAssociativityAndImplicitMultiplication) {
    ExpectResults({{"2*3-5+(2^3-5/(6-2))-3+sin(30)", "5.25"}, {"10-2-3", "5"}, {"5-2+1", "4"}, {"8/2/2", "2"},
                   {"8/2*4", "16"}, {"2*3^2", "18"}, {"2^3*4", "32"}, {"2(3+1)", "8"}, {"2pi", "6.28318530717958"},
                   {"3sr(4)", "6"}, {"2 3", "6"},
                   {"8/2(2)", "8"}});  // left to right: (8/2)*2
}

TEST(Evaluator, LeadingMinusNegatesTheRestOfItsParenthesis) {
    ExpectResults({{"-2+3", "-5"}, {"(-2)+3", "1"}, {"(-2)*3", "-6"}, {"3*(-2)+1", "-5"}, {"2*-3+1", "-8"},
                   {"2--3", "5"}, {"-2^2", "-4"}, {"(-2)^2", "4"},
                   {"1-(-2+3)*2", "11"}});  // (-(2+3))*2 = -10
    ExpectFailures({"-", "+3"});
}

TEST(Evaluator, PowerFormsAndParentheses) {
    ExpectResults({{"2^(1+2)", "8"}, {"(2^(3))", "8"}, {"2^.5", "1.4142135623731"}, {"0^0", "1"}, {"(2+3", "5"},
                   {"((((2", "2"}, {"2*(3+(4", "14"}, {"(2+3 4", "14"}});
    // After "^" only a number or "(...)" with its ")"; no chaining.
    ExpectFailures({"2^3^2", "2^-1", "2^pi", "2^", "2^(3", "2^(3+1", "0^(0-1)", "(0-8)^(1/3)", "2+3)", "()"});
}

TEST(Evaluator, FunctionsTakeDegreesAndKeepTheirFormulas) {
    ExpectResults({{"sin(30)", "0.5"}, {"isn(0.5)", "30"},
                   {"cos 60", "0.500000000000001"},  // pi carries 15 digits
                   {"sec(60)", "2"}, {"tan(45)", "0.999999999999998"}, {"itn(1)", "45"},
                   // The inverse functions' own formulas, not the textbook ones.
                   {"ict(1)", "135"}, {"isc(2)", "139.106605350869"}, {"icc(0-2)", "-229.106605350869"},
                   {"ihs(1)", "50.4989867105263"}, {"hsn(30)", "0.547853473888039"}, {"hcs(0)", "1"},
                   {"log(1000)", "3"}, {"ln(e)", "1"}, {"sr 16", "4"}, {"sr(9+7)", "4"}, {"sr(16", "4"}});
    ExpectFailures({"sr-4", "sin", "sr pi", "sr(-4)", "ln(0)", "log(0-1)", "csc(0)", "cot(0)", "hcc(0)",
                    "hct(0)", "isn(1)", "isn(2)", "isc(1)", "icc(0-1)", "iht(1)", "ihsc(0)", "hsn(100000)"});
}

TEST(Evaluator, PreviousResultCarriesFifteenDigitsAndSurvivesFailures) {
    ResetPreviousResult();
    ExpectResults({{"ans", "0"}, {"1/3", "0.333333333333333"}, {"ans*3", "0.999999999999999"}, {"7", "7"},
                   {"1/0", kError}, {"ans+1", "8"}});
    EXPECT_DOUBLE_EQ(PreviousResult(), 8.0);

    // Next to the largest double the 15-digit text rounds above it; "ans" is then the largest double,
    // not 0 as a failed read-back of that text would leave it.
    const std::string nearLargest = "17976931348623157" + std::string(292, '0');  // the largest double
    ExpectResults({{nearLargest, "1.79769313486232E+308"}, {"ans", "1.79769313486232E+308"},
                   {"ans/2", "8.98846567431158E+307"}, {"0-" + nearLargest, "-1.79769313486232E+308"},
                   {"ans/2", "-8.98846567431158E+307"}});
    ResetPreviousResult();
}

TEST(Evaluator, EveryFailureGivesTheErrorText) {
    ExpectFailures({"", "   ", "1/0", "0/0", "10^400", "2+", "*2", "2**3", "2 + * 3", ")", "(", "2)",
                    std::string(400, '9'),                       // a literal beyond the double range
                    "(10^300)*(10^300)/(10^300)"});              // overflow inside, even if undone later
    ExpectResults({{"0." + std::string(400, '0') + "1", "0"}});  // too small to hold: zero
}

TEST(Evaluator, NumberText) {
    ExpectResults({{"10^15", "1E+15"}, {"10^14", "100000000000000"}, {"123456789012345", "123456789012345"},
                   {"1234567890123456", "1.23456789012346E+15"}, {"999999999999999.9", "1E+15"},
                   {"0.0001", "0.0001"}, {"0.00001", "1E-05"}, {"1.5/10000000", "1.5E-07"}, {"0.5", "0.5"},
                   {"-0", "0"}, {"10^300*10", "1E+301"}, {"2/3", "0.666666666666667"}});
}

// Totals and averages of whole numbers (also with each number in brackets, as a workbook's check writes
// them) give what the full evaluation gives; texts that only look like them are evaluated in full.
TEST(Evaluator, TotalsAndAveragesOfWholeNumbers) {
    ExpectResults({{"85+90+77", "252"}, {"(85)+(90)+(77)", "252"}, {"(85+90+77)/3", "84"}, {"((85)+(90))/2", "87.5"},
                   {"(1+1)/3", "0.666666666666667"}, {"(85)/(3)", "28.3333333333333"}, {"0085+1", "86"},
                   {"1234567890123456+1", "1.23456789012346E+15"},
                   {"((85)+(90)/2", "130"}, {"(85+90)/2+1", "88.5"}, {"(85)(90)", "7650"}, {"(85+90)/2/5", "17.5"}});
    ExpectFailures({"(85+90)/0", "(85)+90)", "85+", "(85+)/2", "()+1"});
}

// clang-format on

TEST(Evaluator, LengthLimitAndDeepNesting) {
    const std::string longest = "1" + std::string(kMaxExpressionLength - 1, ' ');
    std::string roots;  // "-sr(-sr(...4": the innermost root is fine, the next one's operand negative
    while (roots.size() + 4 < kMaxExpressionLength) {
        roots += "-sr(";
    }
    // Deep nesting evaluates (or fails) without exhausting the stack.
    ExpectResults({{longest, "1"},
                   {std::string(5000, '(') + "7" + std::string(5000, ')'), "7"},
                   {std::string(16383, '(') + "7" + std::string(16383, ')'), "7"},
                   {std::string(32766, '(') + "7", "7"},
                   {std::string(32766, '-') + "7", "7"},
                   {std::string(32765, '-') + "7", "-7"}});
    ExpectFailures({longest + " ", std::string(32767, '('), roots + "4",
                    std::string(20000, '(') + "2" + std::string(20000, ')')});
}

}  // namespace
}  // namespace scorvane
