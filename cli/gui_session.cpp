#include "cli/gui_session.h"

#include <stdio.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QtGlobal>

#include "common/qt/font_setup.h"

namespace scorvane::cli {

void EnsureGuiSession() {
    static QGuiApplication* app = [] {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        // Qt's notes about the platform (a missing runtime folder and the like) are not the command's
        // output: stderr carries only the system's own messages.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
            }
        });
        static int argc = 1;
        static char name[] = "scorvane-cli";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        SetUpFonts();
        return a;
    }();
    (void)app;
}

}  // namespace scorvane::cli
