#include <QApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>

#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/qt_prompter.h"
#include "main/workspace/program_version.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/ui/splash_window.h"
#include "main/workspace/workspace_folder.h"

namespace {

// --workspace DIR (or --workspace=DIR) from the command line; empty when not given.
QString workspaceArgument(const QStringList& arguments) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--workspace") && i + 1 < arguments.size()) {
            return arguments[i + 1];
        }
        if (a.startsWith(QStringLiteral("--workspace="))) {
            return a.mid(12);
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL'S Scorvane"));
    scorvane::SetUpFonts();

    scorvane::WorkspaceCandidates candidates;
    candidates.commandLine = workspaceArgument(QApplication::arguments()).toStdString();
    candidates.environment = qEnvironmentVariable("SCORVANE_HOME").toStdString();
    candidates.programDir = QApplication::applicationDirPath().toStdString();
    candidates.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    scorvane::SetProgramFolder(scorvane::ResolveWorkspaceFolder(candidates));

    const QString version = QString::fromStdString(scorvane::SplashVersionLine(SCORVANE_VERSION));
    scorvane::QtPrompter prompter;
    scorvane::MainWindow window(prompter, scorvane::DefaultDialogRunner());
    prompter.setOwner(&window);
    window.setVersionLine(version);

    scorvane::SplashWindow splash(version);
    QObject::connect(&splash, &scorvane::SplashWindow::handOver, &window, [&window, &splash] {
        window.loadWorkspace();
        window.setEnabled(false);
        window.show();
        splash.raise();
    });
    QObject::connect(&splash, &scorvane::SplashWindow::finished, &window, [&window] {
        window.setEnabled(true);
        window.show();
        window.raise();
        window.activateWindow();
    });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - window.rect().center());
        splash.move(area.center() - splash.rect().center());
    }
    splash.show();
    splash.start();
    return app.exec();
}
