#include "main/workspace/ui/start_file_opener.h"

#include <QApplication>
#include <QTimer>
#include <utility>

#include "common/prompter.h"
#include "main/document/data_file.h"
#include "main/workspace/start_arguments.h"
#include "main/workspace/ui/main_window.h"

namespace scorvane {

StartFileOpener::StartFileOpener(MainWindow& window, QObject* parent) : QObject(parent), window_(window) {}

void StartFileOpener::enqueue(const QStringList& files) {
    files_ += files;
    pending_ = true;
    openPending();
}

void StartFileOpener::setReady() {
    ready_ = true;
    openPending();
}

void StartFileOpener::openPending() {
    if (!pending_ || !ready_) {
        return;
    }
    if (QApplication::activeModalWidget() || !window_.isEnabled()) {
        // A dialog is open (or the frame is busy): try again once it has closed.
        if (!retryScheduled_) {
            retryScheduled_ = true;
            QTimer::singleShot(250, this, [this] {
                retryScheduled_ = false;
                openPending();
            });
        }
        return;
    }
    if (window_.isMinimized()) {
        window_.showNormal();
    }
    window_.raise();
    window_.activateWindow();
    pending_ = false;
    const QStringList files = std::exchange(files_, {});
    for (const QString& file : files) {
        openOne(file);
    }
}

void StartFileOpener::openOne(const QString& file) {
    const StartFile start = ClassifyStartFile(file.toStdString(), "/");
    switch (start.kind) {
        case StartFile::Kind::Missing:
            window_.prompter().message(std::string(kMissingFileMessage) + start.path, "提示",
                                       Icon::Information);
            return;
        case StartFile::Kind::Foreign:
            window_.prompter().message(kFormatMessage, "提示", Icon::Information);
            return;
        case StartFile::Kind::Table:
            break;
    }
    // A table already open comes forward (the frame's own check).
    window_.openTable(start.path);
}

}  // namespace scorvane
