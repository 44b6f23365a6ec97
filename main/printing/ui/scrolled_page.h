#pragma once

#include <QWidget>
#include <memory>

class QScrollBar;

namespace scorvane {

class QtSurface;
class RecordedPages;

// A page picture inside a scrolled viewport (picScroll with picTarget, hscScroll and vscScroll), at the
// screen's scale: the print set-up window's preview and the report printing window's template page.
// The picture is a recording laid out once; a paint draws only the part in view. The scroll bars move
// the picture in steps of 120 twips (ScrollMaximum); resizing re-fits them. Outside the picture the
// viewport is grey.
class ScrolledPage : public QWidget {
    Q_OBJECT
  public:
    explicit ScrolledPage(QWidget* parent = nullptr);
    ~ScrolledPage() override;

    // The picture shown (not owned; nullptr shows none). Call pictureChanged() after it was drawn anew.
    void setPicture(const RecordedPages* picture);
    // The picture's size or content changed: the scroll ranges are recomputed, the view repainted.
    void pictureChanged();

    QWidget* target() const { return target_; }
    QScrollBar* horizontalBar() const { return horizontal_; }
    QScrollBar* verticalBar() const { return vertical_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    class Target;
    void layOut();
    void paintTarget(QPainter& painter);

    const RecordedPages* picture_ = nullptr;
    QWidget* target_ = nullptr;  // a Target
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QWidget* corner_ = nullptr;
    std::unique_ptr<QtSurface> canvas_;  // the viewport's picture, reused while its size stays
};

// Sizes a window holding a page: `width` wide and up to 900 pixels high, within the screen's free area.
void ResizeWithinScreen(QWidget& window, int width);

}  // namespace scorvane
