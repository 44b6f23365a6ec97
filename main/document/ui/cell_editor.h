#pragma once

#include <QLineEdit>

namespace scorvane {

// The cell editor (txtEdit): a frameless single-line box that the table window lays exactly over the
// cell being edited. The window answers its Enter, Esc, Up and Down (EditKeyCode); every other key
// edits the text. The focus it gains and loses from the user's own moves is reported; a menu popping
// up or another window coming forward is not a move of the focus within the table.
class CellEditor : public QLineEdit {
    Q_OBJECT
  public:
    explicit CellEditor(QWidget* parent = nullptr);

  signals:
    void focusGained();
    void focusLost();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace scorvane
