#include <iostream>

#include "cli/cli_command.h"
#include "cli/table_io.h"
#include "main/formula/evaluator.h"

namespace scorvane::cli {
namespace {

// Every argument in turn, in one process, so "ans" carries from one to the next.
int runEval(const CliArgs& args) {
    if (args.positional.empty()) {
        return UsageError("eval EXPR...");
    }
    std::string result;
    for (const std::string& expression : args.positional) {
        EvaluateExpressionInto(expression, result);
        std::cout << result << "\n";
    }
    return 0;
}

CliRegistrar registrar({"eval",
                        "eval EXPR...",
                        "计算每个算式并逐行打印结果（ans 为前一个算式的得数；无法计算时为“公式错误”）",
                        {},
                        {},
                        runEval,
                        60,
                        true});

}  // namespace
}  // namespace scorvane::cli
