#include "main/document/ui/grid_scroll_bar.h"

#include <QStyleOptionSlider>

namespace scorvane {

GridScrollBar::GridScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

GridScrollBar::Look GridScrollBar::look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
}

void GridScrollBar::sliderChange(SliderChange change) {
    if (change == SliderValueChange && wasPainted_ && look() == painted_) {
        return;
    }
    QScrollBar::sliderChange(change);
}

void GridScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    painted_ = look();
    wasPainted_ = true;
}

}  // namespace scorvane
