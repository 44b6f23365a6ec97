#pragma once

#include <QObject>

class QListWidget;
class QPushButton;

namespace scorvane {

// Moves the current entry of a list up or down: with the buttons 上移 and 下移, and with Ctrl+Up and
// Ctrl+Down in the list. The windows that let the teacher order exams share it.
class ListMover : public QObject {
    Q_OBJECT
  public:
    ListMover(QListWidget* list, QPushButton* up, QPushButton* down);

    // Moves the current entry `by` places (-1 up, 1 down) when it can.
    void move(int by);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QListWidget* list_;
};

}  // namespace scorvane
