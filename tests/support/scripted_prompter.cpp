#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace scorvane::testing {

void ScriptedPrompter::message(std::string_view text, std::string_view title, Icon icon) {
    calls_.push_back({Call::Message,
                      std::string(text),
                      std::string(title),
                      icon,
                      Buttons::Ok,
                      Answer::Ok,
                      {},
                      {},
                      false,
                      {},
                      {}});
}

void ScriptedPrompter::happen() {
    if (meanwhile_) {
        std::function<void()> now = std::move(meanwhile_);
        meanwhile_ = nullptr;
        now();
    }
}

Answer ScriptedPrompter::ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
                             Answer defaultAnswer) {
    happen();
    calls_.push_back({Call::Ask,
                      std::string(text),
                      std::string(title),
                      icon,
                      buttons,
                      defaultAnswer,
                      {},
                      {},
                      false,
                      {},
                      {}});
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text;
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

Answer ScriptedPrompter::askQuestion(const Question& question) {
    happen();
    Call call{Call::Ask,
              question.text,
              question.title,
              question.icon,
              Buttons::YesNoCancel,
              question.defaultAnswer,
              {},
              {},
              false,
              {},
              {}};
    for (const QuestionButton& button : question.buttons) {
        call.captions.push_back(button.caption);
    }
    call.escapeAnswer = question.escapeAnswer;
    calls_.push_back(std::move(call));
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << question.text;
        return question.escapeAnswer;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    bool given = false;
    for (const QuestionButton& button : question.buttons) {
        given = given || button.answer == a;
    }
    EXPECT_TRUE(given) << "no button of the question gives that answer: " << question.text;
    return a;
}

std::optional<std::string> ScriptedPrompter::input(std::string_view prompt, std::string_view title,
                                                   std::string_view offered) {
    calls_.push_back({Call::Input,
                      std::string(prompt),
                      std::string(title),
                      Icon::None,
                      Buttons::OkCancel,
                      Answer::Ok,
                      std::string(offered),
                      {},
                      false,
                      {},
                      {}});
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt;
        return std::nullopt;
    }
    auto t = inputs_.front();
    inputs_.pop_front();
    return t;
}

std::string ScriptedPrompter::openFile(std::string_view pattern, std::string_view title) {
    calls_.push_back({Call::OpenFile,
                      std::string(pattern),
                      std::string(title),
                      Icon::None,
                      Buttons::Ok,
                      Answer::Ok,
                      {},
                      {},
                      false,
                      {},
                      {}});
    if (openPaths_.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << title;
        return {};
    }
    std::string p = openPaths_.front();
    openPaths_.pop_front();
    return p;
}

std::string ScriptedPrompter::saveFile(std::string_view pattern) {
    calls_.push_back({Call::SaveFile,
                      std::string(pattern),
                      {},
                      Icon::None,
                      Buttons::Ok,
                      Answer::Ok,
                      {},
                      {},
                      false,
                      {},
                      {}});
    if (savePaths_.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << pattern;
        return {};
    }
    std::string p = savePaths_.front();
    savePaths_.pop_front();
    return p;
}

std::string ScriptedPrompter::chooseOpenFile(const FileDialogSpec& spec) {
    std::string p = openFile(spec.pattern, spec.title);
    calls_.back().filter = spec.description + " (" + spec.pattern + ")";
    calls_.back().folder = spec.folder;
    return p;
}

std::string ScriptedPrompter::chooseSaveFile(const FileDialogSpec& spec) {
    std::string p = saveFile(spec.pattern);
    calls_.back().title = spec.title;
    calls_.back().filter = spec.description + " (" + spec.pattern + ")";
    calls_.back().confirmOverwrite = spec.confirmOverwrite;
    calls_.back().folder = spec.folder;
    calls_.back().suggestedName = spec.suggestedName;
    return p;
}

std::vector<std::string> ScriptedPrompter::messages() const {
    std::vector<std::string> out;
    for (const Call& c : calls_) {
        if (c.kind == Call::Message)
            out.push_back(c.text);
    }
    return out;
}

std::vector<std::string> ScriptedPrompter::questions() const {
    std::vector<std::string> out;
    for (const Call& c : calls_) {
        if (c.kind == Call::Ask)
            out.push_back(c.text);
    }
    return out;
}

}  // namespace scorvane::testing
