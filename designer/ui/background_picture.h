#pragma once

#include <QImage>
#include <QString>

namespace scorvane::designer {

// "导入图形表格样底": the picture in the file at `path` as the page's background on a screen of
// `screenDpi`: at its size on paper when it gives its resolution (BackgroundPictureSize), pixel for
// pixel otherwise, its transparent parts white. A null image when the file is no picture that can be
// read.
QImage ReadBackgroundPicture(const QString& path, double screenDpi);

}  // namespace scorvane::designer
