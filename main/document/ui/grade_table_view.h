#pragma once

#include <QTableView>

namespace scorvane {

// The grid of a table window. Its cells are typed into through the window's own cell editor, so the
// view takes the input method's text whatever cell is current, and gaining the focus leaves the
// cursor where the window put it (column 0 after a load) instead of choosing a cell of its own.
class GradeTableView : public QTableView {
    Q_OBJECT
  public:
    explicit GradeTableView(QWidget* parent = nullptr);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

}  // namespace scorvane
