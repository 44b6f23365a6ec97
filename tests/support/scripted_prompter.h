#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/prompter.h"
#include "common/status_sink.h"

namespace scorvane::testing {

// A Prompter for tests: every call is recorded in order; questions, input boxes and file dialogs take
// their answers from queues filled by the test. A call that finds its queue empty fails the test and
// answers as a user pressing Cancel would.
class ScriptedPrompter : public Prompter {
  public:
    struct Call {
        enum Kind { Message, Ask, Input, OpenFile, SaveFile } kind;
        std::string text;  // message, question or prompt; the pattern for file dialogs
        std::string title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
        std::string offered;  // input boxes
        std::string filter;   // described file dialogs: "KVL'S 报表文档 (*.rvx)"
        bool confirmOverwrite = false;
        std::string folder;         // described file dialogs: where they open,
        std::string suggestedName;  // and the name a save dialog offers
        // Questions with buttons of their own: the captions left to right, and what Escape gives.
        std::vector<std::string> captions = {};
        Answer escapeAnswer = Answer::Cancel;
    };

    // Queue answers.
    ScriptedPrompter& answer(Answer a) {
        answers_.push_back(a);
        return *this;
    }
    ScriptedPrompter& type(std::optional<std::string> text) {
        inputs_.push_back(std::move(text));
        return *this;
    }
    ScriptedPrompter& chooseOpen(std::string path) {
        openPaths_.push_back(std::move(path));
        return *this;
    }
    ScriptedPrompter& chooseSave(std::string path) {
        savePaths_.push_back(std::move(path));
        return *this;
    }
    // A slow user: while the next question (ask or askQuestion) is open, `what` happens (another program
    // saves the file, opens it, ...).
    ScriptedPrompter& meanwhile(std::function<void()> what) {
        meanwhile_ = std::move(what);
        return *this;
    }

    void message(std::string_view text, std::string_view title, Icon icon) override;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    // Recorded as a question (kind Ask, buttons YesNoCancel) with its captions; the queued answer must
    // be one that a button gives.
    Answer askQuestion(const Question& question) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view offered) override;
    std::string openFile(std::string_view pattern, std::string_view title) override;
    std::string saveFile(std::string_view pattern) override;
    std::string chooseOpenFile(const FileDialogSpec& spec) override;
    std::string chooseSaveFile(const FileDialogSpec& spec) override;

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<std::string> messages() const;   // texts of message boxes only, in order
    std::vector<std::string> questions() const;  // texts of questions only, in order
    const Call& last() const { return calls_.back(); }
    void clear() { calls_.clear(); }
    // True when every queued answer has been used.
    bool exhausted() const {
        return answers_.empty() && inputs_.empty() && openPaths_.empty() && savePaths_.empty();
    }

  private:
    void happen();

    std::vector<Call> calls_;
    std::function<void()> meanwhile_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::string> openPaths_;
    std::deque<std::string> savePaths_;
};

// A StatusSink that records the texts and busy changes.
class RecordingStatus : public StatusSink {
  public:
    void setStatus(std::string_view text) override { texts.emplace_back(text); }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    std::vector<std::string> texts;
    std::vector<bool> busyChanges;
};

}  // namespace scorvane::testing
