#include "support/qt/qt_app.h"

#include <QApplication>

#include "common/qt/font_setup.h"

namespace scorvane::testing {

QApplication& EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "scorvane-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        SetUpFonts();
        return a;
    }();
    return *app;
}

}  // namespace scorvane::testing
