#include <QApplication>
#include <QProcess>
#include <QStringList>

#include "common/qt/dialog_runner.h"
#include "common/qt/font_setup.h"
#include "common/qt/program_icon.h"
#include "common/qt/program_start.h"
#include "common/qt/qt_prompter.h"
#include "common/qt/qt_translations.h"
#include "common/qt/recovery/recovery_settings.h"
#include "common/recovery/recovery_store.h"
#include "designer/template_recovery.h"
#include "designer/ui/designer_window.h"
#include "designer/ui/template_copier.h"
#include "designer/ui/template_recovery_offer.h"

// The report template designer: one window; a template named on the command line
// (velmora FILE.rvx) is opened at start, after the offer of copies of unsaved templates.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KVL'S Scorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    scorvane::InstallQtTranslations();
    scorvane::SetUpFonts();
    QApplication::setWindowIcon(scorvane::ProgramIcon(scorvane::PaintDesignerPicture));

    // Copies of an unsaved template, for the next start after a crash, a kill or a power cut.
    scorvane::RecoveryStore recovery(scorvane::RecoveryFolderPath().toStdString(),
                                     scorvane::RecoveryIntervalSetting());
    scorvane::QtPrompter prompter;
    scorvane::designer::DesignerWindow window(prompter, scorvane::DefaultDialogRunner());
    prompter.setOwner(&window);
    scorvane::designer::AttachTemplateCopier(window, recovery);
    // Maximised when scorvane started it so.
    scorvane::ShowStartWindow(window);

    const QStringList arguments = QApplication::arguments();
    const QString recoverOption = QString::fromUtf8(scorvane::designer::kRecoverOption.data());
    if (arguments.size() > 2 && arguments[1] == recoverOption) {
        scorvane::designer::RecoverTemplateCopy(window, recovery, arguments[2].toStdString());
        return app.exec();
    }
    // Copies left by designers that ended come first; each further copy chosen, and then a template
    // named on the command line when a copy took this window, open in designers of their own.
    auto startDesigner = [](const QStringList& designerArguments) {
        QProcess::startDetached(QApplication::applicationFilePath(), designerArguments);
    };
    const bool recovered =
        scorvane::designer::OfferTemplateRecovery(window, recovery, [&](const std::string& id) {
            startDesigner({recoverOption, QString::fromStdString(id)});
        });
    if (arguments.size() > 1 && !arguments[1].isEmpty()) {
        if (recovered) {
            startDesigner({arguments[1]});
        } else {
            window.openAtStart(arguments[1].toStdString());
        }
    }
    return app.exec();
}
