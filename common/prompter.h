#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// The icons, buttons and answers of the system's message boxes.
enum class Icon { None, Information, Question, Warning, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Everything a command asks of the user or tells the user goes through a Prompter: the windows use
// real dialogs, the command-line tool answers by its own rules, tests replay scripted answers.
class Prompter {
  public:
    virtual ~Prompter() = default;

    virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;

    virtual Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;

    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                             std::string_view offered) = 0;

    // File dialogs with one filter whose description and pattern are both `pattern` ("*.skv",
    // "*.txt;*.csv"); an empty text when cancelled. The save dialog adds the pattern's last three
    // characters as extension when the name has none and never asks before overwriting.
    virtual std::string openFile(std::string_view pattern, std::string_view title) = 0;
    virtual std::string saveFile(std::string_view pattern) = 0;
};

}  // namespace scorvane
