#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// The icons, buttons and answers of the system's message boxes.
enum class Icon { None, Information, Question, Warning, Error };
// ContinueOrChange: "继续(&C)" answers Yes, "返回修改(&R)" (also closing the box) answers No.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, ContinueOrChange };
enum class Answer { Ok, Cancel, Yes, No };

// A file dialog whose one filter has a description of its own ("KVL'S 报表文档 (*.rvx)").
// Where it opens: `folder`, else the folder in which a file of the same pattern was last chosen
// (remembered in the user's settings), else the dialog's usual folder; a save dialog offers
// `suggestedName` (FileDialogStartPath).
struct FileDialogSpec {
    std::string description;        // "KVL'S 报表文档"
    std::string pattern;            // "*.rvx"
    std::string title;              // empty: the dialog's usual title
    bool confirmOverwrite = false;  // save dialogs: ask before replacing a file that exists
    std::string folder;             // empty: where this pattern's last file was chosen
    std::string suggestedName;      // save dialogs: the name offered
    std::string defaultSuffix;      // save dialogs: added to a name typed without extension ("csv")
};

// A button of a question with captions of its own: its caption ("只读打开(&R)", with its mnemonic) and
// the answer it gives.
struct QuestionButton {
    std::string caption;
    Answer answer = Answer::Cancel;
};

// A question whose buttons the program names itself, left to right. Enter presses the button of
// `defaultAnswer`; Escape, or closing the box, gives `escapeAnswer`.
struct Question {
    std::string text;
    std::string title;
    Icon icon = Icon::Question;
    std::vector<QuestionButton> buttons;
    Answer defaultAnswer = Answer::Cancel;
    Answer escapeAnswer = Answer::Cancel;
};

// Everything a command asks of the user or tells the user goes through a Prompter: the windows use
// real dialogs, the command-line tool answers by its own rules, tests replay scripted answers.
class Prompter {
  public:
    virtual ~Prompter() = default;

    virtual void message(std::string_view text, std::string_view title, Icon icon) = 0;

    virtual Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;

    // A question with buttons of its own. A prompter without such boxes asks it with the standard
    // buttons that give the same answers (Yes, No and Cancel; Ok and Cancel; ...).
    virtual Answer askQuestion(const Question& question);

    // An input box; nullopt when cancelled.
    virtual std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                             std::string_view offered) = 0;

    // File dialogs with one filter whose description and pattern are both `pattern` ("*.skv",
    // "*.txt;*.csv"); an empty text when cancelled. The save dialog adds the pattern's last three
    // characters as extension when the name has none and never asks before overwriting.
    virtual std::string openFile(std::string_view pattern, std::string_view title) = 0;
    virtual std::string saveFile(std::string_view pattern) = 0;

    // File dialogs described in full. The name comes back exactly as the user gave it: no extension is
    // added. An empty text when cancelled. A prompter without dialogs of its own answers them as
    // openFile and saveFile.
    virtual std::string chooseOpenFile(const FileDialogSpec& spec) {
        return openFile(spec.pattern, spec.title);
    }
    virtual std::string chooseSaveFile(const FileDialogSpec& spec) { return saveFile(spec.pattern); }
};

}  // namespace scorvane
