#pragma once

#include <optional>

#include "main/analysis/ui/tier_line_dialog.h"

class QLineEdit;

namespace scorvane {

class DialogRunner;

inline constexpr std::string_view kBorderlineCaption = "临界生";

// "临界生": the students near one of the lines (BorderlineStudents). 临界线 offers the names in the
// grid as they are typed (the first at first); 线下 and 线上 are the range, remembered for the grade with
// the lines once a result was made.
class BorderlineDialog : public TierLineDialog {
    Q_OBJECT
  public:
    BorderlineDialog(std::string grade, std::vector<GradeClass> classes, Prompter& prompter,
                     QWidget* parent = nullptr);

    QComboBox* lineBox() const { return line_; }
    QLineEdit* belowBox() const { return below_; }
    QLineEdit* aboveBox() const { return above_; }

  private:
    // Offers the grid's line names, keeping the one chosen when it is still there.
    void offerLines();
    AnalysisResult compute() override;

    QComboBox* line_;
    QLineEdit* below_;
    QLineEdit* above_;
};

// As RunLineAnalysisDialog, for 临界生.
std::optional<GradeTable> RunBorderlineDialog(const SchoolTree& tree, const SchoolNode& grade, Prompter& prompter,
                                              DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
