#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/qt/qt_surface.h"
#include "designer/label_drag.h"
#include "designer/line_drawing.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The background of the selected label and of a label being dragged.
inline const QColor kSelectedLabelBackground(219, 217, 242);
inline constexpr const char* kLabelToolTip = "拖动标签,可以改变标签位置";

// The white A4 page ("picTarget") at screen scale. Its picture holds what the redraw drew (the grid and
// the lines) and keeps it until the next redraw; an imported background picture lies under it; the
// labels stand on it like controls on a picture, and the rubber band of a line under way is shown above
// everything. Mouse actions are passed to the window in page twips: a button released on the page; a
// move, press or release over a label (when no line is under way, a label takes the mouse as a control
// would). Dragging a label with the left button moves a lavender proxy ("Picture2") in its place until
// the button is released, which drops the label there. The arrow keys are passed on while the page
// has the focus (Tab reaches it after the side panel).
//
// Labels are painted where they are in view only. A small label is drawn once into a picture that is
// kept, so that a page of hundreds of labels paints quickly; a large one (a big font, a long caption)
// is drawn straight onto the page each time, clipped to what is shown, so that no label costs more
// memory than a small picture, whatever its size; and no more of a caption is laid out than can reach
// across the page.
class PageWidget : public QWidget {
    Q_OBJECT
  public:
    PageWidget(const TemplateDocument& doc, const LineDrawing& drawing, QWidget* parent = nullptr);
    ~PageWidget() override;

    double twipsPerPixel() const;
    // The redraw: the picture cleared at the page's size, then the grid and the lines drawn on it.
    void redraw(bool gridOn, const std::string& spacing);
    // The labels were added, removed, moved or changed.
    void labelsChanged();
    // The mouse moved while a line is under way, or the line ended: shows or hides the rubber band.
    void rubberBandChanged() { update(); }

    // The imported background picture, drawn at the page's top-left corner at its own size under the
    // grid, the lines and the labels; a null image removes it.
    void setBackground(const QImage& picture);
    const QImage& background() const { return background_; }

    const QImage& picture() const;
    // The bytes held by the labels' kept pictures.
    qsizetype labelPictureBytes() const;
    // The visible label under a point of the widget, -1 when none; its rectangle in widget pixels.
    int labelAt(QPointF pos) const;
    QRect labelRect(int index) const;
    // Where the rubber band runs, in twips; nullopt when it is hidden.
    std::optional<std::pair<PagePoint, PagePoint>> rubberBand() const;
    // The label being dragged and the proxy's rectangle in widget pixels; -1 and an empty rectangle when
    // no label is dragged.
    int draggedLabel() const { return drag_.dragging() ? drag_.index() : -1; }
    QRect proxyRect() const;

  signals:
    void released(Qt::MouseButton button, double x, double y);
    void mouseMovedOnPage(double x, double y);
    void labelHovered(int index);
    void labelPressed(int index, Qt::MouseButton button, QPointF pos);
    void labelReleased(int index, Qt::MouseButton button, QPointF pos);
    // The proxy moved to `proxy` (widget pixels) while label `index` is dragged.
    void labelDragged(int index, QRect proxy);
    // The label was dropped with its top-left corner at (x, y) twips.
    void labelDropped(int index, double x, double y);
    // An arrow key while the page has the focus.
    void arrowKey(Qt::Key key);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct LabelView {
        QRect rect;
        QFont font;
        QString text;
        QColor color;
        QImage rendered;  // a small label's text drawn once on a clear picture, made when first painted
    };
    double toTwips(double pixels) const { return pixels * twipsPerPixel(); }
    // Paints a label's text with its top-left corner at `at`: from its kept picture when it is small,
    // made when first needed, otherwise straight onto the painter.
    void paintText(QPainter& painter, LabelView& view, QPoint at) const;
    // The size of a text in a font on the page.
    QSize measured(const QFont& font, const QString& text) const;
    // A label too large for a kept picture.
    static bool drawnStraight(const LabelView& view);
    void endDrag();

    const TemplateDocument& doc_;
    const LineDrawing& drawing_;
    std::unique_ptr<QtSurface> surface_;
    QImage background_;  // at screen scale
    mutable std::vector<LabelView> labels_;
    mutable qsizetype pictureBytes_ = 0;
    std::optional<QPointF> mouse_;  // the last mouse point over the page, twips
    int pressedLabel_ = -1;         // the label that took the last press
    LabelDrag drag_;
};

// A label's font at screen scale.
QFont LabelFont(const TemplateLabel& label);
QColor LabelColor(SurfaceColor color);

}  // namespace scorvane::designer
