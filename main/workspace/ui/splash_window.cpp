#include "main/workspace/ui/splash_window.h"

#include <QPainter>

#include "common/qt/screen_twips.h"
#include "main/workspace/ui/brand_picture.h"

namespace scorvane {
namespace {

constexpr int kStepTwips = 200;
constexpr int kWidthTwips = 7200;
constexpr int kHeightTwips = 4200;
constexpr int kBarTwips = 330;

}  // namespace

SplashWindow::SplashWindow(const QString& versionLine, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      versionLine_(versionLine) {
    setObjectName("frmSlape");
    setWindowTitle(QStringLiteral("KVL'S Scorvane"));
    setFixedSize(TwipsToPixelsX(kWidthTwips, *this), TwipsToPixelsY(kHeightTwips, *this));
    progress_.setInterval(1);
    hold_.setInterval(1500);
    hold_.setSingleShot(true);
    connect(&progress_, &QTimer::timeout, this, &SplashWindow::tick);
    connect(&hold_, &QTimer::timeout, this, &SplashWindow::holdElapsed);
}

void SplashWindow::start() {
    progress_.start();
}

void SplashWindow::tick() {
    if (!progressText_.isEmpty()) {
        return;
    }
    progressTwips_ += kStepTwips;
    if (progressTwips_ >= kWidthTwips) {
        progress_.stop();
        emit handOver();
        progressText_ = QStringLiteral("启动完成,正在加载组件...");
        hold_.start();
    }
    update();
}

void SplashWindow::holdElapsed() {
    close();
    emit finished();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRect all = rect();
    QLinearGradient back(all.topLeft(), all.bottomLeft());
    back.setColorAt(0, QColor(0xF4, 0xF7, 0xFC));
    back.setColorAt(1, QColor(0xD8, 0xE2, 0xF2));
    p.fillRect(all, back);
    p.setPen(QPen(QColor(0x2E, 0x5C, 0xA8), 2));
    p.drawRect(all.adjusted(1, 1, -2, -2));

    const int bar = TwipsToPixelsY(kBarTwips, *this);
    PaintBrandPicture(p, QRectF(16, 20, 150, 150));

    QFont brand(QStringLiteral("Arial Black"));
    brand.setPixelSize(44);
    brand.setBold(true);
    p.setFont(brand);
    p.setPen(QColor(0x2E, 0x5C, 0xA8));
    p.drawText(QRect(180, 22, width() - 190, 56), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KVL'S"));

    QFont name(QStringLiteral("黑体"));
    name.setPixelSize(24);
    p.setFont(name);
    p.setPen(QColor(0x30, 0x38, 0x50));
    p.drawText(QRect(182, 80, width() - 190, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Scorvane"));

    QFont small(QStringLiteral("宋体"));
    small.setPixelSize(13);
    p.setFont(small);
    p.drawText(QRect(182, 116, width() - 190, 22), Qt::AlignLeft | Qt::AlignVCenter, versionLine_);
    p.drawText(QRect(182, 138, width() - 190, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("For Windows 9x/Me/NT/2K/XP"));
    p.drawText(QRect(8, 180, width() - 16, 40), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("     快捷的输入，轻松的成绩分析，清晰的班级分类……让成绩统计更轻松。"));

    // The progress bar across the bottom.
    QRect track(0, height() - bar, width(), bar);
    p.fillRect(track, QColor(0xE8, 0xEC, 0xF4));
    int filled = std::min(width(), TwipsToPixelsX(progressTwips_, *this));
    p.fillRect(QRect(track.left(), track.top(), filled, track.height()), QColor(0x3A, 0x72, 0xC4));
    if (!progressText_.isEmpty()) {
        p.setPen(Qt::white);
        p.drawText(track, Qt::AlignCenter, progressText_);
    }
}

}  // namespace scorvane
