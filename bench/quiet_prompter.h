#pragma once

#include "common/prompter.h"

namespace scorvane::bench {

// A Prompter for benchmarks: messages are dropped, every question gets the one answer given, input
// boxes and file dialogs are cancelled.
class QuietPrompter : public Prompter {
  public:
    explicit QuietPrompter(Answer answer = Answer::Yes) : answer_(answer) {}
    void message(std::string_view, std::string_view, Icon) override {}
    Answer ask(std::string_view, std::string_view, Buttons, Icon, Answer) override { return answer_; }
    std::optional<std::string> input(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
    std::string openFile(std::string_view, std::string_view) override { return {}; }
    std::string saveFile(std::string_view) override { return {}; }

  private:
    Answer answer_;
};

}  // namespace scorvane::bench
