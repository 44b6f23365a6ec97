#pragma once

#include <QDialog>
#include <optional>

#include "common/prompter.h"
#include "main/analysis/assignment_bands.h"

class QPushButton;

namespace scorvane {

class DialogRunner;
class TextGrid;

// "赋分规则": the band table of 等级赋分 in a small grid (等级, 比例(%), 最高分, 最低分), one band a row,
// the top band first. 恢复默认 puts the default table back. 确定 checks the table (a fault is told,
// naming its row, and the window stays); the table is then the caller's.
class AssignmentBandsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRows = 10;

    AssignmentBandsDialog(const AssignmentBands& bands, Prompter& prompter, QWidget* parent = nullptr);

    TextGrid* grid() const { return grid_; }
    QPushButton* defaultButton() const { return default_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // After 确定: the table.
    const std::optional<AssignmentBands>& result() const { return result_; }

  private:
    void confirm();

    Prompter& prompter_;
    TextGrid* grid_;
    QPushButton* default_;
    QPushButton* ok_;
    QPushButton* cancel_;
    std::optional<AssignmentBands> result_;
};

// The window, modal, owned by `owner`; the table when it was closed with 确定.
std::optional<AssignmentBands> RunAssignmentBandsDialog(const AssignmentBands& bands, Prompter& prompter,
                                                        DialogRunner& runner, QWidget* owner);

}  // namespace scorvane
