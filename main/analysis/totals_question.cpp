#include "main/analysis/totals_question.h"

namespace scorvane {

std::optional<std::string> ConfirmComparableTotals(const TableGroup& group, const std::string& field,
                                                   std::string_view others, bool offerAverage,
                                                   Prompter& prompter) {
    const std::string mismatch = MismatchedTotalsMessage(group, field, others);
    if (mismatch.empty()) {
        return field;
    }
    const std::string average = offerAverage ? ComparableAverageField(group, field) : std::string();
    if (average.empty()) {
        prompter.message(mismatch, "提示", Icon::Information);
        return field;
    }
    Question question;
    question.text = mismatch + "\n\n使用平均：改按“" + average + "”计算，各" + std::string(others) +
                    "按自己的科目求平均，不因科目多少而相差。\n仍然使用" + field + "：按“" + field + "”计算。";
    question.title = "询问";
    question.icon = Icon::Question;
    question.buttons = {{std::string(kUseAverageCaption), Answer::Yes},
                        {"仍然使用" + field, Answer::No},
                        {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::Yes;
    question.escapeAnswer = Answer::Cancel;
    switch (prompter.askQuestion(question)) {
        case Answer::Yes:
            return average;
        case Answer::No:
            return field;
        default:
            return std::nullopt;
    }
}

}  // namespace scorvane
