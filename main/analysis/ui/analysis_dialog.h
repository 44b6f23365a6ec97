#pragma once

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "main/analysis/analysis_result.h"

class QLayout;
class QPushButton;

namespace scorvane {

class DialogRunner;

// What the windows of the analyses over several tables share: the explanation above, the choices, and
// "确定(&O)" (the default button) and "取消" below; Escape cancels. 确定 works the analysis out: a
// refusal is told and the window stays for a new choice; otherwise the notice beside the table is told,
// the table kept and the window closed.
class AnalysisDialog : public QDialog {
    Q_OBJECT
  public:
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // After 确定: the result table.
    std::optional<GradeTable>& result() { return result_; }

  protected:
    AnalysisDialog(const char* objectName, const QString& caption, const QString& explanation,
                   Prompter& prompter, QWidget* parent);
    // Lays the choices out between the explanation and the buttons; Tab goes on from `lastChoice` to
    // 确定 and 取消. The choices are made in reading order, which Tab follows.
    void setChoices(QLayout* choices, QWidget* lastChoice);
    // What 确定 does.
    virtual AnalysisResult compute() = 0;

    Prompter& prompter_;

  private:
    void confirm();

    QPushButton* ok_;
    QPushButton* cancel_;
    std::optional<GradeTable> result_;
};

// The window, modal, owned by its parent; its table when it was closed with 确定.
std::optional<GradeTable> RunAnalysisDialog(AnalysisDialog& dialog, DialogRunner& runner);

}  // namespace scorvane
