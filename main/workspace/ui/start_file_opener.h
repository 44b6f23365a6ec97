#pragma once

#include <QObject>
#include <QStringList>

namespace scorvane {

class MainWindow;

// Opens the tables named on the command line, those of this start and those a later start hands over,
// each in a table window of the frame. Files wait until the frame is ready (the splash has handed
// over) and no modal dialog is open, so a table never opens under a dialog that works on the active
// one. A table already open is brought forward instead of being opened twice; a name that is no
// table gets the program's message.
class StartFileOpener : public QObject {
    Q_OBJECT
  public:
    explicit StartFileOpener(MainWindow& window, QObject* parent = nullptr);

    // Files to open (absolute paths), in order. The frame comes forward when they are opened, also
    // when there are none.
    void enqueue(const QStringList& files);
    // The frame is ready: what waits is opened.
    void setReady();

    bool hasPending() const { return pending_ || !files_.isEmpty(); }

  private:
    void openPending();
    void openOne(const QString& file);

    MainWindow& window_;
    QStringList files_;
    bool pending_ = false;  // something waits (also a request that named no file)
    bool ready_ = false;
    bool retryScheduled_ = false;
};

}  // namespace scorvane
