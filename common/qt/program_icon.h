#pragma once

#include <QIcon>
#include <QImage>
#include <functional>

class QPainter;
class QRectF;

namespace scorvane {

// A program's picture, painted into any square area (the splash picture, the about box, the icons).
using PictureFn = std::function<void(QPainter&, const QRectF&)>;

// The sizes at which a program's icon is made, in the window and in the desktop's icon theme.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The picture as a square image of `size` pixels on a transparent background.
QImage RenderProgramIcon(const PictureFn& picture, int size);

// The picture at every icon size, for QApplication::setWindowIcon.
QIcon ProgramIcon(const PictureFn& picture);

// Sets the painter up for a picture designed on a 100 x 100 grid, centred in the square of `area`,
// antialiased. Pictures call it between save() and restore().
void BeginPictureGrid(QPainter& painter, const QRectF& area);

// The report designer's picture: a report card page with ruling lines and a pen drawing one more.
void PaintDesignerPicture(QPainter& painter, const QRectF& area);

}  // namespace scorvane
