#include <QApplication>
#include <QMainWindow>

#include "common/qt/font_setup.h"
#include "common/qt/program_start.h"

// The report template designer. Its page, lines and labels come with the designer's own work; until
// then the program shows its empty main window.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    scorvane::SetUpFonts();
    QMainWindow window;
    window.setWindowTitle("ScorvaneVelmora");
    window.resize(1000, 700);
    // Maximised when scorvane started it so.
    scorvane::ShowStartWindow(window);
    return app.exec();
}
