#pragma once

#include <QTableWidget>
#include <string>
#include <vector>

namespace scorvane {

// A small grid of texts to edit row by row (the band table, a level scheme): fixed columns with their
// titles and a fixed number of rows, blank rows below the filled ones. Tab leaves the grid for the next
// control; the arrow keys move between the cells and typing or F2 edits one.
class TextGrid : public QTableWidget {
    Q_OBJECT
  public:
    TextGrid(const QStringList& titles, int rows, QWidget* parent = nullptr);

    // Fills the rows from the top (cells beyond the columns dropped), the others blank.
    void setTexts(const std::vector<std::vector<std::string>>& rows);
    // Every row's texts, blank rows too, with what is being typed into a cell.
    std::vector<std::vector<std::string>> texts();

  signals:
    // A cell was changed by the user (not by setTexts).
    void edited();

  private:
    bool filling_ = false;
};

}  // namespace scorvane
