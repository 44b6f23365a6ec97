#include "common/qt/recovery/recovery_offer_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/prompter.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

RecoveryOfferDialog::RecoveryOfferDialog(const QString& title, const QString& hint,
                                         const QStringList& headers, const QList<Line>& lines,
                                         Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("frmRecover");
    setWindowTitle(title);
    setModal(true);

    auto* hintLabel = new QLabel(hint, this);
    hintLabel->setObjectName("Label1");
    hintLabel->setWordWrap(true);

    list_ = new QTreeWidget(this);
    list_->setObjectName("lstCopies");
    list_->setHeaderLabels(headers);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setTabKeyNavigation(false);
    for (const Line& line : lines) {
        auto* item = new QTreeWidgetItem(list_, line.cells);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        if (line.damaged) {
            for (int c = 0; c < list_->columnCount(); ++c) {
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
            }
        }
        damaged_.push_back(line.damaged);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(true);
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }

    recover_ = new QPushButton(qs(kRecoverButton), this);
    recover_->setObjectName("cmdRecover");
    recover_->setDefault(true);
    discard_ = new QPushButton(qs(kDiscardButton), this);
    discard_->setObjectName("cmdDiscard");
    later_ = new QPushButton(qs(kLaterButton), this);
    later_->setObjectName("cmdLater");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(recover_);
    buttons->addWidget(discard_);
    buttons->addWidget(later_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hintLabel);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    setTabOrder(list_, recover_);
    setTabOrder(recover_, discard_);
    setTabOrder(discard_, later_);
    resize(560, 300);

    connect(list_, &QTreeWidget::itemChanged, this, &RecoveryOfferDialog::followTicks);
    connect(recover_, &QPushButton::clicked, this, [this] {
        choice_ = RecoveryChoice::Recover;
        accept();
    });
    connect(discard_, &QPushButton::clicked, this, &RecoveryOfferDialog::discardChosen);
    connect(later_, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { choice_ = RecoveryChoice::Later; });
    followTicks();
    list_->setFocus();
}

std::vector<bool> RecoveryOfferDialog::ticked() const {
    std::vector<bool> ticks;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        ticks.push_back(list_->topLevelItem(i)->checkState(0) == Qt::Checked);
    }
    return ticks;
}

void RecoveryOfferDialog::followTicks() {
    const std::vector<bool> ticks = ticked();
    recover_->setEnabled(CanRecover(ticks, damaged_));
    discard_->setEnabled(CanDiscard(ticks));
}

void RecoveryOfferDialog::discardChosen() {
    if (prompter_.ask(kDiscardQuestion, kDiscardTitle, Buttons::YesNo, Icon::Question, Answer::No) !=
        Answer::Yes) {
        return;
    }
    choice_ = RecoveryChoice::Discard;
    accept();
}

}  // namespace scorvane
