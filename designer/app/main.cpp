#include <QApplication>
#include <QStringList>

#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/program_icon.h"
#include "common/qt/program_start.h"
#include "common/qt/qt_prompter.h"
#include "common/qt/qt_translations.h"
#include "designer/ui/designer_window.h"

// The report template designer: one window; a template named on the command line
// (velmora FILE.rvx) is opened at start.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL'S Scorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    scorvane::InstallQtTranslations();
    scorvane::SetUpFonts();
    QApplication::setWindowIcon(scorvane::ProgramIcon(scorvane::PaintDesignerPicture));

    scorvane::QtPrompter prompter;
    scorvane::designer::DesignerWindow window(prompter, scorvane::DefaultDialogRunner());
    prompter.setOwner(&window);
    // Maximised when scorvane started it so.
    scorvane::ShowStartWindow(window);

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && !arguments[1].isEmpty()) {
        window.openAtStart(arguments[1].toStdString());
    }
    return app.exec();
}
