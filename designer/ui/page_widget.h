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
// the button is released, which drops the label there.
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
        QImage rendered;  // the text drawn once on a clear picture, made when first painted
    };
    double toTwips(double pixels) const { return pixels * twipsPerPixel(); }
    // A label's text on a clear picture of its size, made when first needed.
    const QImage& rendered(LabelView& view) const;
    void endDrag();

    const TemplateDocument& doc_;
    const LineDrawing& drawing_;
    std::unique_ptr<QtSurface> surface_;
    QImage background_;  // at screen scale
    mutable std::vector<LabelView> labels_;
    std::optional<QPointF> mouse_;  // the last mouse point over the page, twips
    int pressedLabel_ = -1;         // the label that took the last press
    LabelDrag drag_;
};

// A label's font at screen scale.
QFont LabelFont(const TemplateLabel& label);
QColor LabelColor(SurfaceColor color);

}  // namespace scorvane::designer
