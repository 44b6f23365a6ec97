#include "common/prompter.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

// A prompter with standard boxes only: records the box it was asked to show and presses one button.
class StandardBoxes : public Prompter {
  public:
    void message(std::string_view, std::string_view, Icon) override {}
    Answer ask(std::string_view, std::string_view, Buttons b, Icon, Answer d) override {
        buttons = b;
        defaultAnswer = d;
        return pressed;
    }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::string openFile(std::string_view, std::string_view) override { return {}; }
    std::string saveFile(std::string_view) override { return {}; }

    Answer pressed = Answer::Cancel;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;
};

TEST(Prompter, AQuestionWithButtonsOfItsOwnFallsBackToTheStandardButtonsOfTheSameAnswers) {
    struct Case {
        std::vector<Answer> answers;
        Answer defaultAnswer;
        Answer pressed;
        Buttons shown;
        Answer shownDefault;
        Answer given;
    } cases[] = {
        {{Answer::Yes, Answer::No, Answer::Cancel},
         Answer::Cancel,
         Answer::No,
         Buttons::YesNoCancel,
         Answer::Cancel,
         Answer::No},
        {{Answer::Yes, Answer::No}, Answer::Yes, Answer::Yes, Buttons::YesNo, Answer::Yes, Answer::Yes},
        // Yes and Cancel alone: OK stands for Yes.
        {{Answer::Yes, Answer::Cancel}, Answer::Yes, Answer::Ok, Buttons::OkCancel, Answer::Ok, Answer::Yes},
        {{Answer::Yes, Answer::Cancel},
         Answer::Cancel,
         Answer::Cancel,
         Buttons::OkCancel,
         Answer::Cancel,
         Answer::Cancel},
        {{Answer::Ok}, Answer::Ok, Answer::Ok, Buttons::Ok, Answer::Ok, Answer::Ok},
    };
    for (const Case& c : cases) {
        Question question;
        for (Answer a : c.answers) {
            question.buttons.push_back({"按钮", a});
        }
        question.defaultAnswer = c.defaultAnswer;
        StandardBoxes prompter;
        prompter.pressed = c.pressed;
        EXPECT_EQ(prompter.askQuestion(question), c.given);
        EXPECT_EQ(prompter.buttons, c.shown);
        EXPECT_EQ(prompter.defaultAnswer, c.shownDefault);
    }
}

}  // namespace
}  // namespace scorvane
