#pragma once

#include <QPointer>
#include <QWidget>

#include "common/prompter.h"

namespace scorvane {

// The Prompter of the programs: message boxes, input boxes and file dialogs, owned by a window.
class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }

    void message(std::string_view text, std::string_view title, Icon icon) override;
    Answer ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;
    // A message box with the question's own buttons, left to right, each with its mnemonic.
    Answer askQuestion(const Question& question) override;
    std::optional<std::string> input(std::string_view prompt, std::string_view title,
                                     std::string_view offered) override;
    std::string openFile(std::string_view pattern, std::string_view title) override;
    std::string saveFile(std::string_view pattern) override;
    std::string chooseOpenFile(const FileDialogSpec& spec) override;
    std::string chooseSaveFile(const FileDialogSpec& spec) override;

  private:
    QPointer<QWidget> owner_;
};

// File dialogs start where a file of their pattern was last chosen: the folder is kept in the user's
// settings (group "FileDialogs", a key per pattern: "skv", "txt_csv", "xlsx_xls_ods").
QString DialogFolderKey(std::string_view pattern);
std::string LastDialogFolder(std::string_view pattern);
void RememberDialogFolder(std::string_view pattern, std::string_view chosenFile);

// "*.skv" -> "成绩表格 (*.skv)"; "*.txt;*.csv" -> "文本文件 (*.txt *.csv)" (DialogFilterName).
QString FileDialogFilter(std::string_view pattern);
// A described filter: "KVL'S 报表文档 (*.rvx)"; without a description of its own as above.
QString FileDialogFilter(const FileDialogSpec& spec);

}  // namespace scorvane
