#include "main/printing/ui/scrolled_page.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "common/page_scrolling.h"
#include "common/qt/qt_surface.h"
#include "common/qt/screen_twips.h"
#include "common/recorded_pages.h"

namespace scorvane {
namespace {

const QColor kViewportBack(128, 128, 128);

}  // namespace

// The viewport: it paints the part of the picture in view.
class ScrolledPage::Target : public QWidget {
  public:
    explicit Target(ScrolledPage& page) : QWidget(&page), page_(page) {
        setObjectName("picTarget");
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        page_.paintTarget(painter);
    }

  private:
    ScrolledPage& page_;
};

ScrolledPage::ScrolledPage(QWidget* parent) : QWidget(parent) {
    setObjectName("picScroll");
    setFocusPolicy(Qt::StrongFocus);
    target_ = new Target(*this);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName("hscScroll");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName("vscScroll");
    corner_ = new QWidget(this);
    corner_->setAutoFillBackground(true);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setRange(0, 0);
        connect(bar, &QScrollBar::valueChanged, target_, qOverload<>(&QWidget::update));
    }
}

ScrolledPage::~ScrolledPage() = default;

void ScrolledPage::setPicture(const RecordedPages* picture) {
    picture_ = picture;
    pictureChanged();
}

void ScrolledPage::pictureChanged() {
    layOut();
    target_->update();
}

void ScrolledPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void ScrolledPage::layOut() {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int w = std::max(0, width() - bar);
    const int h = std::max(0, height() - bar);
    target_->setGeometry(0, 0, w, h);
    vertical_->setGeometry(w, 0, bar, h);
    horizontal_->setGeometry(0, h, w, bar);
    corner_->setGeometry(w, h, bar, bar);

    const double tx = TwipsPerPixelX(*this);
    const double ty = TwipsPerPixelY(*this);
    const double pictureWidth = picture_ ? picture_->width() : 0;
    const double pictureHeight = picture_ ? picture_->height() : 0;
    horizontal_->setRange(0, picture_ ? ScrollMaximum(pictureWidth, width() * tx, bar * tx) : 0);
    vertical_->setRange(0, picture_ ? ScrollMaximum(pictureHeight, height() * ty, bar * ty) : 0);
    horizontal_->setPageStep(std::max(1, static_cast<int>(w * tx / kScrollStepTwips)));
    vertical_->setPageStep(std::max(1, static_cast<int>(h * ty / kScrollStepTwips)));
}

void ScrolledPage::paintTarget(QPainter& painter) {
    const QRect area = target_->rect();
    if (!picture_ || area.isEmpty()) {
        painter.fillRect(area, kViewportBack);
        return;
    }
    const double tx = TwipsPerPixelX(*target_);
    const double ty = TwipsPerPixelY(*target_);
    const double left = horizontal_->value() * kScrollStepTwips;
    const double top = vertical_->value() * kScrollStepTwips;
    const double widthTwips = area.width() * tx;
    const double heightTwips = area.height() * ty;
    if (!canvas_ || !canvas_->image() || canvas_->image()->size() != area.size()) {
        canvas_ = QtSurface::ForImage(widthTwips, heightTwips, 1440.0 / tx);
        canvas_->setAntialiased(false);  // crisp one-pixel rules on the screen
    }
    canvas_->clear();
    picture_->replayArea(left, top, left + widthTwips, top + heightTwips, *canvas_);

    // The picture where it stands in the viewport; grey around it.
    const QRect pictureRect(static_cast<int>(std::lround(-left / tx)),
                            static_cast<int>(std::lround(-top / ty)),
                            static_cast<int>(std::lround(picture_->width() / tx)),
                            static_cast<int>(std::lround(picture_->height() / ty)));
    const QRect shown = pictureRect.intersected(area);
    painter.fillRect(area, kViewportBack);
    if (!shown.isEmpty() && canvas_->image()) {
        painter.drawImage(shown.topLeft(), *canvas_->image(), shown);
    }
}

void ScrolledPage::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    QScrollBar* bar = (event->modifiers() & Qt::ShiftModifier) ? horizontal_ : vertical_;
    if (notches != 0) {
        // A notch of the wheel scrolls as many steps as the designer's page does.
        bar->setValue(bar->value() - notches * kWheelScrollSteps);
    }
    event->accept();
}

void ScrolledPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            vertical_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Up:
            vertical_->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            horizontal_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_Left:
            horizontal_->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_PageDown:
            vertical_->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_PageUp:
            vertical_->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_Home:
            vertical_->setValue(0);
            break;
        case Qt::Key_End:
            vertical_->setValue(vertical_->maximum());
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ResizeWithinScreen(QWidget& window, int width) {
    int height = 900;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        width = std::min(width, available.width());
        height = std::max(400, std::min(height, available.height() - 60));
    }
    window.resize(width, height);
}

}  // namespace scorvane
