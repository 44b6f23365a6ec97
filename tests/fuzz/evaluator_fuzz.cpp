#include <charconv>
#include <cmath>
#include <limits>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "main/formula/evaluator.h"

namespace scorvane::fuzz {

// Any text evaluates to a number text or "公式错误"; "ans" then holds the value of that text, and a
// result written without an exponent evaluates to itself.
int FuzzEvaluator(const uint8_t* data, size_t size) {
    const double before = PreviousResult();
    std::string result;
    const bool ok = EvaluateExpressionInto(Bytes(data, size), result);
    if (!ok) {
        Check(result == kFormulaError, "a failure reads 公式错误");
        Check(PreviousResult() == before || (std::isnan(before) && std::isnan(PreviousResult())),
              "a failure leaves ans alone");
        return 0;
    }
    Check(!result.empty() && result.size() <= 32, "a number text");
    double value = 0;
    const auto [end, ec] = std::from_chars(result.data(), result.data() + result.size(), value);
    Check(end == result.data() + result.size(), "the result is one number");
    const double expected =
        ec == std::errc() ? value
                          : std::copysign(std::numeric_limits<double>::max(), result[0] == '-' ? -1.0 : 1.0);
    Check(PreviousResult() == expected, "ans holds the value of the result's text");
    if (result.find('E') == std::string::npos) {
        Check(EvaluateExpression(result) == result, "a plain result evaluates to itself");
    }
    return 0;
}

}  // namespace scorvane::fuzz
