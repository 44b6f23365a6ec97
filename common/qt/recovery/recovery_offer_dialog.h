#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <vector>

#include "common/recovery/recovery_offer.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace scorvane {

class Prompter;

// The window that offers recovery copies at start (frmRecover): a hint, the list of copies (lstCopies),
// one line each, all ticked at first, and the buttons 恢复(&R) (cmdRecover, the default), 放弃(&D)
// (cmdDiscard, after a question) and 以后再说(&L) (cmdLater, also Esc and the close box). A damaged copy
// is listed in grey; it can be discarded, not recovered.
class RecoveryOfferDialog : public QDialog {
    Q_OBJECT
  public:
    struct Line {
        QStringList cells;
        bool damaged = false;
    };

    RecoveryOfferDialog(const QString& title, const QString& hint, const QStringList& headers,
                        const QList<Line>& lines, Prompter& prompter, QWidget* parent = nullptr);

    // What was chosen (Later until a button says otherwise), and which lines are ticked.
    RecoveryChoice choice() const { return choice_; }
    std::vector<bool> ticked() const;
    std::vector<bool> damaged() const { return damaged_; }

    QTreeWidget* list() const { return list_; }
    QPushButton* recoverButton() const { return recover_; }
    QPushButton* discardButton() const { return discard_; }
    QPushButton* laterButton() const { return later_; }

  private:
    void followTicks();
    void discardChosen();

    Prompter& prompter_;
    std::vector<bool> damaged_;
    RecoveryChoice choice_ = RecoveryChoice::Later;
    QTreeWidget* list_;
    QPushButton* recover_;
    QPushButton* discard_;
    QPushButton* later_;
};

}  // namespace scorvane
