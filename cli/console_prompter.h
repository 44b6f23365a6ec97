#pragma once

#include "common/prompter.h"

namespace scorvane::cli {

// The command line's Prompter: messages go to stderr; a question is answered "go ahead" (Yes, or Ok),
// since the command line states what it wants in its arguments; input boxes and file dialogs are
// cancelled. Every message shown is kept so that a command can tell whether anything went wrong.
class ConsolePrompter : public Prompter {
  public:
    void message(std::string_view text, std::string_view title, Icon icon) override;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view offered) override;
    std::string openFile(std::string_view pattern, std::string_view title) override;
    std::string saveFile(std::string_view pattern) override;

    int messageCount() const { return messages_; }

  private:
    int messages_ = 0;
};

}  // namespace scorvane::cli
