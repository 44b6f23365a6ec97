#include "common/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace scorvane {

void InstallQtTranslations() {
    // Every text of the programs is Simplified Chinese, whatever the desktop's language: Qt's own parts
    // (the file dialog's dates and kinds of file, the print dialog's figures) speak it too.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_zh_CN"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
    // Installed last, it is asked first: its texts take the place of Qt's for the few it holds.
    auto* ours = new QTranslator(QCoreApplication::instance());
    if (ours->load(QString::fromLatin1(kQtDialogTexts))) {
        QCoreApplication::installTranslator(ours);
    } else {
        delete ours;
    }
}

}  // namespace scorvane
