#include "designer/ui/page_viewport.h"

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <cmath>

#include "common/page_scrolling.h"
#include "designer/page_geometry.h"
#include "designer/ui/page_widget.h"

namespace scorvane::designer {

PageViewport::PageViewport(PageWidget* page, QWidget* parent) : QWidget(parent), page_(page) {
    setObjectName("picScroll");
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(p);
    page_->setParent(this);
    hscScroll_ = new QScrollBar(Qt::Horizontal, this);
    hscScroll_->setObjectName("hscScroll");
    vscScroll_ = new QScrollBar(Qt::Vertical, this);
    vscScroll_->setObjectName("vscScroll");
    corner_ = new QWidget(this);
    corner_->setObjectName("Picture3");
    corner_->setAutoFillBackground(true);
    corner_->setPalette(QApplication::palette());
    for (QScrollBar* bar : {hscScroll_, vscScroll_}) {
        bar->setMinimum(0);
        bar->setSingleStep(1);
        // Scrolling and dragging alike move the page.
        connect(bar, &QScrollBar::valueChanged, this, [this] { placePage(); });
    }
}

void PageViewport::placePage() {
    const double tpp = page_->twipsPerPixel();
    page_->move(-static_cast<int>(std::lround(kScrollStep * hscScroll_->value() / tpp)),
                -static_cast<int>(std::lround(kScrollStep * vscScroll_->value() / tpp)));
}

void PageViewport::SetPageSize() {
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    hscScroll_->setGeometry(0, height() - thickness, width() - thickness, thickness);
    vscScroll_->setGeometry(width() - thickness, 0, thickness, height() - thickness);
    corner_->setGeometry(width() - thickness, height() - thickness, thickness, thickness);
    hscScroll_->raise();
    vscScroll_->raise();
    corner_->raise();
    SetScrollMax();
}

void PageViewport::SetScrollMax() {
    const double tpp = page_->twipsPerPixel();
    const double bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) * tpp;
    hscScroll_->setMaximum(ScrollMax(page_->width() * tpp, width() * tpp, bar));
    vscScroll_->setMaximum(ScrollMax(page_->height() * tpp, height() * tpp, bar));
    // A page step of the bars is about what the viewport shows.
    hscScroll_->setPageStep(std::max(1, static_cast<int>(width() * tpp / kScrollStep)));
    vscScroll_->setPageStep(std::max(1, static_cast<int>(height() * tpp / kScrollStep)));
    placePage();
}

void PageViewport::ensureVisible(const QRect& pageRect) {
    const double tpp = page_->twipsPerPixel();
    const int thickness = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // The part of the page in view, in the page's pixels.
    const QRect view(-page_->x(), -page_->y(), width() - thickness, height() - thickness);
    const auto steps = [tpp](int pixels) { return static_cast<int>(std::ceil(pixels * tpp / kScrollStep)); };
    const auto follow = [&](QScrollBar* bar, int low, int high, int viewLow, int viewHigh) {
        if (high > viewHigh && low > viewLow) {
            bar->setValue(bar->value() + steps(std::min(high - viewHigh, low - viewLow)));
        } else if (low < viewLow) {
            bar->setValue(bar->value() - steps(viewLow - low));
        }
    };
    follow(hscScroll_, pageRect.left(), pageRect.right() + 1, view.left(), view.right() + 1);
    follow(vscScroll_, pageRect.top(), pageRect.bottom() + 1, view.top(), view.bottom() + 1);
}

void PageViewport::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetPageSize();
}

void PageViewport::wheelEvent(QWheelEvent* event) {
    // A notch of the wheel scrolls as many steps as the print preview's page does.
    const int notches = event->angleDelta().y() / 120;
    QScrollBar* bar = (event->modifiers() & Qt::ShiftModifier) ? hscScroll_ : vscScroll_;
    bar->setValue(bar->value() - notches * kWheelScrollSteps);
    event->accept();
}

}  // namespace scorvane::designer
