#include "common/qt/program_start.h"

#include <stdlib.h>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWidget>

namespace scorvane {

bool StartProgramDetached(const QString& program, const QString& folder, bool maximized) {
    const QFileInfo info(program);
    if (!info.isFile() || !info.isExecutable()) {
        return false;
    }
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (maximized) {
        environment.insert(QString::fromLatin1(kStartMaximizedVariable), QStringLiteral("1"));
    } else {
        environment.remove(QString::fromLatin1(kStartMaximizedVariable));
    }
    process.setProcessEnvironment(environment);
    return process.startDetached();
}

void ShowStartWindow(QWidget& window) {
    const QByteArray asked = qgetenv(kStartMaximizedVariable);
    ::unsetenv(kStartMaximizedVariable);
    if (asked == "1") {
        window.showMaximized();
    } else {
        window.show();
    }
}

}  // namespace scorvane
