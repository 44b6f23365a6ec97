#include "main/formula/evaluator.h"

#include <gtest/gtest.h>

#include <string>

namespace scorvane {
namespace {

const std::string kError(kFormulaError);

std::string Eval(std::string_view text) {
    return EvaluateExpression(text);
}

TEST(Evaluator, TokensNumbersNamesAndSpaces) {
    EXPECT_EQ(Eval("  1 + 2  "), "3");
    EXPECT_EQ(Eval("1.5+.5"), "2");
    EXPECT_EQ(Eval("5.*2"), "10");
    EXPECT_EQ(Eval("1.2.3"), "0.36");            // "1.2" then ".3", side by side
    EXPECT_EQ(Eval("1e5"), "13.5914091422952");  // 1 times e times 5: no exponent notation
    EXPECT_EQ(Eval("log10"), "1");               // digits end a name
    EXPECT_EQ(Eval("LOG(100)"), "2");
    EXPECT_EQ(Eval("Pi"), "3.14159265358979");
    EXPECT_EQ(Eval("0012"), "12");
    EXPECT_EQ(Eval("12345678901234567890"), "1.23456789012346E+19");
    for (const char* bad : {"1..2", ".", "2,5", "2\t+3", "2（3）", "cell(1,2)", "abc", "pie", "help", "2#"}) {
        EXPECT_EQ(Eval(bad), kError) << bad;
    }
}

TEST(Evaluator, PrecedenceAndAssociativity) {
    EXPECT_EQ(Eval("2*3-5+(2^3-5/(6-2))-3+sin(30)"), "5.25");
    EXPECT_EQ(Eval("10-2-3"), "5");
    EXPECT_EQ(Eval("5-2+1"), "4");
    EXPECT_EQ(Eval("8/2/2"), "2");
    EXPECT_EQ(Eval("8/2*4"), "16");
    EXPECT_EQ(Eval("2*3^2"), "18");
    EXPECT_EQ(Eval("2^3*4"), "32");
    EXPECT_EQ(Eval("1+2*3"), "7");
    EXPECT_EQ(Eval("(1+2)*3"), "9");
}

TEST(Evaluator, ImplicitMultiplication) {
    EXPECT_EQ(Eval("2(3+1)"), "8");
    EXPECT_EQ(Eval("2pi"), "6.28318530717958");
    EXPECT_EQ(Eval("3sr(4)"), "6");
    EXPECT_EQ(Eval("2 3"), "6");
    EXPECT_EQ(Eval("(2)(3)"), "6");
    EXPECT_EQ(Eval("8/2(2)"), "8");  // left to right: (8/2)*2
}

TEST(Evaluator, LeadingMinusNegatesTheRestOfItsParenthesis) {
    EXPECT_EQ(Eval("-2+3"), "-5");
    EXPECT_EQ(Eval("(-2)+3"), "1");
    EXPECT_EQ(Eval("(-2)*3"), "-6");
    EXPECT_EQ(Eval("3*(-2)+1"), "-5");
    EXPECT_EQ(Eval("2*-3+1"), "-8");
    EXPECT_EQ(Eval("2--3"), "5");
    EXPECT_EQ(Eval("--2"), "2");
    EXPECT_EQ(Eval("-2^2"), "-4");
    EXPECT_EQ(Eval("(-2)^2"), "4");
    EXPECT_EQ(Eval("1-(-2+3)*2"), "11");  // (-(2+3))*2 = -10
    EXPECT_EQ(Eval("-"), kError);
    EXPECT_EQ(Eval("+3"), kError);
}

TEST(Evaluator, PowerForms) {
    EXPECT_EQ(Eval("2^(1+2)"), "8");
    EXPECT_EQ(Eval("(2^(3))"), "8");
    EXPECT_EQ(Eval("2^.5"), "1.4142135623731");
    EXPECT_EQ(Eval("2 ^ 10"), "1024");
    EXPECT_EQ(Eval("0^0"), "1");
    for (const char* bad : {"2^3^2", "2^-1", "2^pi", "2^", "2^(3", "2^(3+1", "0^(0-1)", "(0-8)^(1/3)"}) {
        EXPECT_EQ(Eval(bad), kError) << bad;
    }
}

TEST(Evaluator, Parentheses) {
    EXPECT_EQ(Eval("(2+3"), "5");
    EXPECT_EQ(Eval("((((2"), "2");
    EXPECT_EQ(Eval("2*(3+(4"), "14");
    EXPECT_EQ(Eval("2+3)"), kError);
    EXPECT_EQ(Eval("()"), kError);
    EXPECT_EQ(Eval("(2+3)4"), "20");
    EXPECT_EQ(Eval("(2+3 4"), "14");
}

TEST(Evaluator, FunctionsTakeDegreesAndKeepTheirFormulas) {
    EXPECT_EQ(Eval("sin(30)"), "0.5");
    EXPECT_EQ(Eval("isn(0.5)"), "30");
    EXPECT_EQ(Eval("cos 60"), "0.500000000000001");  // pi carries 15 digits
    EXPECT_EQ(Eval("sec(60)"), "2");
    EXPECT_EQ(Eval("tan(45)"), "0.999999999999998");
    EXPECT_EQ(Eval("itn(1)"), "45");
    EXPECT_EQ(Eval("ict(1)"), "135");  // Atan(x) + pi/2, not the textbook inverse
    EXPECT_EQ(Eval("isc(2)"), "139.106605350869");
    EXPECT_EQ(Eval("icc(0-2)"), "-229.106605350869");
    EXPECT_EQ(Eval("ihs(1)"), "50.4989867105263");
    EXPECT_EQ(Eval("hsn(30)"), "0.547853473888039");
    EXPECT_EQ(Eval("hcs(0)"), "1");
    EXPECT_EQ(Eval("log(1000)"), "3");
    EXPECT_EQ(Eval("ln(e)"), "1");
    EXPECT_EQ(Eval("sr 16"), "4");
    EXPECT_EQ(Eval("sr(9+7)"), "4");
    EXPECT_EQ(Eval("sr(16"), "4");
    EXPECT_EQ(Eval("SR(16)"), "4");
    EXPECT_EQ(Eval("sr(16)*2"), "8");
    for (const char* bad :
         {"sr-4", "sin", "sr(-4)", "ln(0)", "log(0-1)", "csc(0)", "cot(0)", "hcc(0)", "hct(0)", "isn(1)",
          "isn(2)", "isc(1)", "icc(0-1)", "iht(1)", "ihsc(0)", "hsn(100000)", "sr pi"}) {
        EXPECT_EQ(Eval(bad), kError) << bad;
    }
}

TEST(Evaluator, Constants) {
    EXPECT_EQ(Eval("pi"), "3.14159265358979");
    EXPECT_EQ(Eval("e"), "2.71828182845905");
    EXPECT_EQ(Eval("E*0"), "0");
}

TEST(Evaluator, PreviousResultCarriesFifteenDigitsAndSurvivesFailures) {
    ResetPreviousResult();
    EXPECT_EQ(Eval("ans"), "0");
    EXPECT_EQ(Eval("1/3"), "0.333333333333333");
    EXPECT_EQ(Eval("ans*3"), "0.999999999999999");
    EXPECT_EQ(Eval("7"), "7");
    EXPECT_EQ(Eval("1/0"), kError);
    EXPECT_EQ(Eval("ans+1"), "8");
    EXPECT_EQ(Eval("ANS"), "8");
    EXPECT_DOUBLE_EQ(PreviousResult(), 8.0);
    ResetPreviousResult();
}

TEST(Evaluator, EveryFailureGivesTheErrorText) {
    for (const char* bad :
         {"", "   ", "1/0", "0/0", "10^400", "2+", "*2", "2**3", "2 + * 3", ")", "(", "2)"}) {
        EXPECT_EQ(Eval(bad), kError) << '"' << bad << '"';
    }
    // A literal beyond the double range overflows; one too small to hold is zero.
    EXPECT_EQ(Eval(std::string(400, '9')), kError);
    EXPECT_EQ(Eval("0." + std::string(400, '0') + "1"), "0");
    // Overflow inside a product fails even when a later step would bring it back.
    EXPECT_EQ(Eval("(10^300)*(10^300)/(10^300)"), kError);
}

TEST(Evaluator, NumberText) {
    EXPECT_EQ(Eval("10^15"), "1E+15");
    EXPECT_EQ(Eval("10^14"), "100000000000000");
    EXPECT_EQ(Eval("123456789012345"), "123456789012345");
    EXPECT_EQ(Eval("1234567890123456"), "1.23456789012346E+15");
    EXPECT_EQ(Eval("999999999999999.9"), "1E+15");
    EXPECT_EQ(Eval("0.0001"), "0.0001");
    EXPECT_EQ(Eval("0.00001"), "1E-05");
    EXPECT_EQ(Eval("1.5/10000000"), "1.5E-07");
    EXPECT_EQ(Eval("0.5"), "0.5");
    EXPECT_EQ(Eval("0-0.5"), "-0.5");
    EXPECT_EQ(Eval("-0"), "0");
    EXPECT_EQ(Eval("10^300*10"), "1E+301");
    EXPECT_EQ(Eval("2/3"), "0.666666666666667");
    EXPECT_EQ(Eval("100.10"), "100.1");
}

TEST(Evaluator, LengthLimitAndDeepNesting) {
    std::string longest = "1" + std::string(kMaxExpressionLength - 1, ' ');
    EXPECT_EQ(Eval(longest), "1");
    EXPECT_EQ(Eval(longest + " "), kError);

    // Deep nesting evaluates (or fails) without exhausting the stack.
    EXPECT_EQ(Eval(std::string(5000, '(') + "7" + std::string(5000, ')')), "7");
    EXPECT_EQ(Eval(std::string(16383, '(') + "7" + std::string(16383, ')')), "7");
    EXPECT_EQ(Eval(std::string(32766, '(') + "7"), "7");
    EXPECT_EQ(Eval(std::string(32766, '-') + "7"), "7");
    EXPECT_EQ(Eval(std::string(32765, '-') + "7"), "-7");
    EXPECT_EQ(Eval(std::string(32767, '(')), kError);
    std::string mixed;
    while (mixed.size() + 4 < kMaxExpressionLength) {
        mixed += "-sr(";
    }
    EXPECT_EQ(Eval(mixed + "4"), kError);  // the square root of a negative number
    EXPECT_EQ(Eval(std::string(20000, '(') + "2" + std::string(20000, ')')), kError);  // too long
}

}  // namespace
}  // namespace scorvane
