#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/qt/qt_surface.h"
#include "designer/line_drawing.h"
#include "designer/template_document.h"

namespace scorvane::designer {

// The background of the selected label and of a label being dragged.
inline const QColor kSelectedLabelBackground(219, 217, 242);
inline constexpr const char* kLabelToolTip = "拖动标签,可以改变标签位置";

// The white A4 page ("picTarget") at screen scale. Its picture holds what the redraw drew (the grid and
// the lines) and keeps it until the next redraw; the labels stand on it like controls on a picture, and
// the rubber band of a line under way is shown above everything. Mouse actions are passed to the window
// in page twips: a button released on the page; a move, press or release over a label (when no line is
// under way, a label takes the mouse as a control would).
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

    const QImage& picture() const;
    // The visible label under a point of the widget, -1 when none; its rectangle in widget pixels.
    int labelAt(QPointF pos) const;
    QRect labelRect(int index) const;
    // Where the rubber band runs, in twips; nullopt when it is hidden.
    std::optional<std::pair<PagePoint, PagePoint>> rubberBand() const;

  signals:
    void released(Qt::MouseButton button, double x, double y);
    void mouseMovedOnPage(double x, double y);
    void labelHovered(int index);
    void labelPressed(int index, Qt::MouseButton button, QPointF pos);
    void labelReleased(int index, Qt::MouseButton button, QPointF pos);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct LabelView {
        QRect rect;
        QFont font;
        QString text;
        QColor color;
        QImage rendered;  // the text drawn once on a clear picture, made when first painted
    };
    double toTwips(double pixels) const { return pixels * twipsPerPixel(); }

    const TemplateDocument& doc_;
    const LineDrawing& drawing_;
    std::unique_ptr<QtSurface> surface_;
    mutable std::vector<LabelView> labels_;
    std::optional<QPointF> mouse_;  // the last mouse point over the page, twips
    int pressedLabel_ = -1;         // the label that took the last press
};

// A label's font at screen scale.
QFont LabelFont(const TemplateLabel& label);
QColor LabelColor(SurfaceColor color);

}  // namespace scorvane::designer
