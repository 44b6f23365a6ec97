#include <QApplication>
#include <QMainWindow>

#include "common/qt/font_setup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    scorvane::SetUpFonts();
    QMainWindow window;
    window.setWindowTitle("KVL'S Scorvane");
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
