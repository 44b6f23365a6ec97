#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/program_icon.h"
#include "common/qt/qt_prompter.h"
#include "common/qt/qt_translations.h"
#include "common/qt/recovery/recovery_settings.h"
#include "common/recovery/recovery_store.h"
#include "main/workspace/program_version.h"
#include "main/workspace/start_arguments.h"
#include "main/workspace/ui/brand_picture.h"
#include "main/workspace/ui/instance_channel.h"
#include "main/workspace/ui/main_window.h"
#include "main/workspace/ui/splash_window.h"
#include "main/workspace/ui/start_file_opener.h"
#include "main/workspace/ui/table_recovery_offer.h"
#include "main/workspace/workspace_folder.h"

namespace {

scorvane::StartArguments startArguments(const QStringList& arguments) {
    std::vector<std::string> args;
    for (int i = 1; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    return scorvane::ParseStartArguments(args);
}

}  // namespace

int main(int argc, char** argv) {
    // --help needs no display.
    if (scorvane::ParseStartArguments(std::vector<std::string>(argv + 1, argv + argc)).help) {
        std::fputs(scorvane::StartUsage().c_str(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL'S Scorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("scorvane"));
    const scorvane::StartArguments start = startArguments(QApplication::arguments());
    for (const std::string& option : start.unknown) {
        std::fprintf(stderr, "scorvane：未知的选项 %s（已忽略）\n", option.c_str());
    }

    scorvane::WorkspaceCandidates candidates;
    candidates.commandLine = start.workspace;
    candidates.environment = qEnvironmentVariable("SCORVANE_HOME").toStdString();
    candidates.programDir = QApplication::applicationDirPath().toStdString();
    candidates.userDataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    const std::string workspace = scorvane::ResolveWorkspaceFolder(candidates);
    scorvane::SetProgramFolder(workspace);

    // A frame already running on this workspace opens the files; this start ends without a window.
    QStringList files;
    for (const std::string& file : start.files) {
        files << QDir::current().absoluteFilePath(QString::fromStdString(file));
    }
    // The socket lives in the user's own runtime folder, which no other user can enter, so nobody else
    // can stand in for the frame and be handed the names of this user's files.
    const QString runtimeFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    scorvane::InstanceChannel channel(
        runtimeFolder + QLatin1Char('/') +
        QString::fromStdString(scorvane::InstanceChannelName(workspace, ::getuid())));
    if (channel.handOver(files)) {
        return 0;
    }
    channel.listen();

    scorvane::InstallQtTranslations();
    scorvane::SetUpFonts();
    QApplication::setWindowIcon(scorvane::ProgramIcon(scorvane::PaintBrandPicture));

    const QString version = QString::fromStdString(scorvane::SplashVersionLine(SCORVANE_VERSION));
    // Copies of unsaved tables, for the next start after a crash, a kill or a power cut.
    scorvane::RecoveryStore recovery(scorvane::RecoveryFolderPath().toStdString(),
                                     scorvane::RecoveryIntervalSetting());
    scorvane::QtPrompter prompter;
    scorvane::MainWindow window(prompter, scorvane::DefaultDialogRunner());
    prompter.setOwner(&window);
    window.setRecoveryStore(&recovery);
    window.setVersionLine(version);

    scorvane::StartFileOpener opener(window);
    QObject::connect(&channel, &scorvane::InstanceChannel::filesHandedOver, &opener,
                     &scorvane::StartFileOpener::enqueue);
    if (!files.isEmpty()) {
        opener.enqueue(files);
    }

    scorvane::SplashWindow splash(version);
    QObject::connect(&splash, &scorvane::SplashWindow::handOver, &window, [&window, &splash] {
        window.loadWorkspace();
        window.setEnabled(false);
        window.show();
        splash.raise();
    });
    QObject::connect(&splash, &scorvane::SplashWindow::finished, &window,
                     [&window, &opener, &recovery, workspace] {
                         window.setEnabled(true);
                         window.show();
                         window.raise();
                         window.activateWindow();
                         scorvane::OfferTableRecovery(window, recovery, workspace);
                         opener.setReady();
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
