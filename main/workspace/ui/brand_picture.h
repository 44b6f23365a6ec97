#pragma once

class QPainter;
class QRectF;

namespace scorvane {

// The program's picture on the splash and in the about box: an open grade book with a bar chart.
void PaintBrandPicture(QPainter& painter, const QRectF& area);

}  // namespace scorvane
