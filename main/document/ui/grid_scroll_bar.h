#pragma once

#include <QRect>
#include <QScrollBar>

namespace scorvane {

// A scroll bar of the grid, painted again only when it would look different. In a 20,000-row table
// the handle moves a pixel every few dozen rows, so the row a key scrolls into view mostly leaves the
// bar as it was, and the bar is not painted for it.
class GridScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    explicit GridScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // What a value shows: where the handle stands, and whether the bar stands at either end.
    struct Look {
        QRect handle;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look&) const = default;
    };
    Look look() const;

    Look painted_;
    bool wasPainted_ = false;
};

}  // namespace scorvane
