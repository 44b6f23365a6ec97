#include "common/prompter.h"

namespace scorvane {

Answer Prompter::askQuestion(const Question& question) {
    bool gives[4] = {};
    for (const QuestionButton& button : question.buttons) {
        gives[static_cast<int>(button.answer)] = true;
    }
    const bool ok = gives[static_cast<int>(Answer::Ok)];
    const bool cancel = gives[static_cast<int>(Answer::Cancel)];
    const bool no = gives[static_cast<int>(Answer::No)];
    Buttons buttons = Buttons::YesNoCancel;
    if (ok) {
        buttons = cancel ? Buttons::OkCancel : Buttons::Ok;
    } else if (!cancel) {
        buttons = Buttons::YesNo;
    } else if (!no) {
        buttons = Buttons::OkCancel;  // Yes and Cancel alone: Ok stands for Yes
    }
    const Answer answer =
        ask(question.text, question.title, buttons, question.icon,
            buttons == Buttons::OkCancel && question.defaultAnswer == Answer::Yes ? Answer::Ok
                                                                                  : question.defaultAnswer);
    if (answer == Answer::Ok && !ok) {
        return Answer::Yes;
    }
    return answer;
}

}  // namespace scorvane
