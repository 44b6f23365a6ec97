#include "main/workspace/ui/frame_status_bar.h"

#include <QGuiApplication>
#include <QLabel>

#include "common/qt/screen_twips.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

FrameStatusBar::FrameStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("StatusBar1");
    setSizeGripEnabled(true);
    panel1_ = new QLabel(qs(kStatusReady), this);
    panel1_->setObjectName("Panel1");
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setFixedWidth(TwipsToPixelsX(2540, *this));
    panel2_ = new QLabel(this);
    panel2_->setObjectName("Panel2");
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2_->setFixedWidth(TwipsToPixelsX(9525, *this));
    addWidget(panel1_);
    addWidget(panel2_);
}

FrameStatusBar::~FrameStatusBar() {
    while (busyDepth_ > 0) {
        setBusy(false);
    }
}

QString FrameStatusBar::panelText(int panel) const {
    return panel == 1 ? panel1_->text() : panel2_->text();
}

void FrameStatusBar::setTableStatus(std::string_view text) {
    panel2_->setText(qs(text));
}

void FrameStatusBar::setStatus(std::string_view text) {
    panel1_->setText(qs(text));
}

void FrameStatusBar::setBusy(bool busy) {
    if (busy) {
        ++busyDepth_;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        panel1_->repaint();
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QGuiApplication::restoreOverrideCursor();
    }
}

}  // namespace scorvane
