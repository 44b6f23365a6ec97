#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace scorvane {

class DialogRunner;

// "公式说明" (frm公式说明): the evaluator's operators and functions and the reference syntax, with a
// small calculator whose results become the "ans" of later formulas.
class FormulaHelpDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FormulaHelpDialog(QWidget* parent = nullptr);

    QLineEdit* expressionEdit() const { return expression_; }
    QLineEdit* resultEdit() const { return result_; }
    QPushButton* computeButton() const { return compute_; }
    QPushButton* closeButton() const { return close_; }

  private:
    void compute();

    QLineEdit* expression_;
    QLineEdit* result_;
    QPushButton* compute_;
    QPushButton* close_;
};

// "公式说明(&V)": the help window, modally.
void RunFormulaHelp(DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
