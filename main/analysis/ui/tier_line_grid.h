#pragma once

#include <QTableWidget>
#include <vector>

#include "main/analysis/tier_lines.h"

namespace scorvane {

// The line editor of the line windows: a small grid of five rows (as many lines as an analysis takes)
// and the columns 名称, 方式 (分数 or 名次, chosen in a list that F2, a double click or any key opens) and
// 数值. Typing into a cell replaces it and Enter keeps what was typed; Tab leaves the grid for the next
// control, and Escape, while no cell is being edited, reaches the window.
class TierLineGrid : public QTableWidget {
    Q_OBJECT
  public:
    static constexpr int kNameColumn = 0;
    static constexpr int kKindColumn = 1;
    static constexpr int kValueColumn = 2;

    explicit TierLineGrid(QWidget* parent = nullptr);

    // Fills the rows from the top with `lines` (at most five), the others blank.
    void setLines(const std::vector<LineText>& lines);
    // Every row in order, blank ones too (ResolveTierLines passes over those and counts rows as shown).
    std::vector<LineText> lines() const;
    // Keeps what is being typed into a cell, as leaving the cell would.
    void commitEdit();

    static QString kindText(LineKind kind);

  signals:
    // The teacher changed a cell.
    void edited();

  private:
    bool filling_ = false;
};

}  // namespace scorvane
