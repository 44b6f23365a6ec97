#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "common/qt/program_icon.h"
#include "main/workspace/ui/brand_picture.h"

// Writes the programs' icons into the hicolor theme layout below the folder given:
// hicolor/<n>x<n>/apps/scorvane.png and velmora.png, painted from the programs' own pictures.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons FOLDER\n");
        return 1;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const struct {
        const char* name;
        scorvane::PictureFn picture;
    } programs[] = {{"scorvane", scorvane::PaintBrandPicture}, {"velmora", scorvane::PaintDesignerPicture}};
    for (int size : scorvane::kProgramIconSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "render_icons: cannot make %s\n", qPrintable(folder));
            return 1;
        }
        for (const auto& program : programs) {
            const QString file = QStringLiteral("%1/%2.png").arg(folder, QLatin1String(program.name));
            if (!scorvane::RenderProgramIcon(program.picture, size).save(file, "PNG")) {
                std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
