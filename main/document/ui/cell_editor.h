#pragma once

#include <QLineEdit>

namespace scorvane {

// The cell editor (txtEdit): a frameless single-line box that the table window lays exactly over the
// cell being edited. Enter, Esc, Up and Down belong to the window, which commits, cancels or moves;
// every other key edits the text. The focus it gains and loses from the user's own moves is reported;
// a menu popping up or another window coming forward is not a move of the focus within the table.
class CellEditor : public QLineEdit {
    Q_OBJECT
  public:
    explicit CellEditor(QWidget* parent = nullptr);

  signals:
    void enterPressed();
    void escapePressed();
    void upPressed();
    void downPressed();
    void focusGained();
    void focusLost();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace scorvane
