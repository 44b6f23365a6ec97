#pragma once

#include <QRect>
#include <QWidget>

class QScrollBar;

namespace scorvane::designer {

class PageWidget;

// The viewport ("picScroll") in which the page sits, with its scroll bars "hscScroll" along the bottom
// and "vscScroll" along the right edge and the corner piece "Picture3" between them. One step of a bar
// is 120 twips: the page's left edge stands at −120 × the horizontal value, its top at −120 × the
// vertical value.
class PageViewport : public QWidget {
    Q_OBJECT
  public:
    PageViewport(PageWidget* page, QWidget* parent = nullptr);

    QScrollBar* horizontalBar() const { return hscScroll_; }
    QScrollBar* verticalBar() const { return vscScroll_; }
    PageWidget* page() const { return page_; }

    // Places the bars along the edges and sets the scroll ranges for the page's size.
    void SetPageSize();
    // The scroll ranges: (page − viewport + the other bar's thickness) / 120 + 1 steps.
    void SetScrollMax();
    // Scrolls, a whole number of steps, until the rectangle of the page (widget pixels) is in view as far
    // as it fits: a label dragged past the edge brings the rest of the page along.
    void ensureVisible(const QRect& pageRect);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void placePage();

    PageWidget* page_;
    QScrollBar* hscScroll_;
    QScrollBar* vscScroll_;
    QWidget* corner_;
};

}  // namespace scorvane::designer
