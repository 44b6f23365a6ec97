#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scorvane {

// The one result text of every failed evaluation.
inline constexpr std::string_view kFormulaError = "公式错误";

// The longest text the evaluator scans; a longer one fails.
inline constexpr size_t kMaxExpressionLength = 32767;

// Evaluates arithmetic text and returns its value as text (see NumberToText), or exactly "公式错误".
//
// Numbers (digits, "." and digits; no exponent notation), "+ - * / ^ ( )", spaces, and the names pi,
// e, ans, sr, log, ln and the circular, hyperbolic and inverse functions (angles in degrees), in any
// letter case. "*" and "/" bind tighter than "+" and "-", "^" tighter still and does not chain;
// a number, a name or "(" right after an operand multiplies; a leading minus negates everything up
// to the end of its parenthesis ("-2+3" is -5). A missing ")" at the very end is supplied.
//
// A successful evaluation replaces the previous result, which "ans" reads; it is one value for the
// whole process, shared by formula cells, the formula editor and the calculator. A failed evaluation
// leaves it alone. Not re-entrant: evaluations run one at a time on the user-interface thread.
std::string EvaluateExpression(std::string_view text);

// The same into a caller's buffer, for callers that evaluate many texts; false on failure (then
// `out` holds "公式错误").
bool EvaluateExpressionInto(std::string_view text, std::string& out);

// The previous result, and its state at process start (0), for the calculator's and tests' use.
double PreviousResult();
void ResetPreviousResult();

}  // namespace scorvane
