#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

namespace scorvane {

// One frame per user and workspace folder: a later start of the program hands the files named on its
// command line to the frame already running, through a local socket only its user may open, and ends.
class InstanceChannel : public QObject {
    Q_OBJECT
  public:
    // `name` is the socket's full path (in the user's runtime folder) or a bare name (Qt's folder).
    explicit InstanceChannel(const QString& name, QObject* parent = nullptr);

    // Hands `files` (absolute paths; none just brings the frame forward) to the program listening on
    // the channel. True when it took them; false when no program listens or it did not answer within
    // `timeoutMs`.
    bool handOver(const QStringList& files, int timeoutMs = 5000);

    // Listens for later starts (a socket left behind by a program that ended is replaced). False when
    // the channel cannot be opened; the program then runs on its own.
    bool listen();

  signals:
    // A later start handed over these files (maybe none).
    void filesHandedOver(const QStringList& files);

  private:
    void connectionArrived();

    QString name_;
    QLocalServer server_;
};

}  // namespace scorvane
