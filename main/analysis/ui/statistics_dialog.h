#pragma once

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "main/analysis/class_statistics.h"

class QPushButton;

namespace scorvane {

class AnalysisOptionsPanel;
class DialogRunner;

inline constexpr std::string_view kStatisticsCaption = "成绩统计";

// "成绩统计": the class's statistics of the chosen fields. 确定 checks what was typed (a fault is told
// in a message and the window stays), computes and closes; the two result tables are then the caller's.
class StatisticsDialog : public QDialog {
    Q_OBJECT
  public:
    StatisticsDialog(const GradeTable& table, Prompter& prompter, QWidget* parent = nullptr);

    AnalysisOptionsPanel* options() const { return options_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // After 确定: the statistics and the score bands.
    std::optional<ClassStatistics>& result() { return result_; }

  private:
    void compute();

    const GradeTable& table_;
    Prompter& prompter_;
    AnalysisOptionsPanel* options_;
    QPushButton* ok_;
    QPushButton* cancel_;
    std::optional<ClassStatistics> result_;
};

// The window, modal, owned by `owner`; the result tables when it was closed with 确定.
std::optional<ClassStatistics> RunStatisticsDialog(const GradeTable& table, Prompter& prompter,
                                                   DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
