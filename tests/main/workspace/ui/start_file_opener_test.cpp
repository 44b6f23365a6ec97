#include "main/workspace/ui/start_file_opener.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QDialog>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>

#include "frame_fixture.h"
#include "main/workspace/start_arguments.h"
#include "main/workspace/ui/instance_channel.h"

namespace scorvane {
namespace {

using testing::Flush;
using testing::FrameTest;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

TEST_F(FrameTest, TablesNamedAtStartOpenOnceTheFrameIsReady) {
    writeSchool();
    writeTable(tablePath("期中"), "期中成绩");
    writeTable(tablePath("期末"), "期末成绩");
    MainWindow& w = start();
    StartFileOpener opener(w);

    // During the splash nothing opens; the files wait.
    w.setEnabled(false);
    opener.enqueue({q(tablePath("期中") + ".skv"), q(tablePath("期末"))});
    Flush();
    EXPECT_TRUE(w.tables().isEmpty());
    EXPECT_TRUE(opener.hasPending());

    w.setEnabled(true);
    opener.setReady();
    ASSERT_EQ(w.tables().size(), 2);
    EXPECT_FALSE(opener.hasPending());
    EXPECT_EQ(w.tables()[0]->caption(), "期中成绩");
    EXPECT_EQ(w.tables()[0]->document().table.filePath, tablePath("期中"));
    EXPECT_EQ(w.activeTable()->caption(), "期末成绩");

    // A table already open comes forward instead of opening twice.
    opener.enqueue({q(tablePath("期中") + ".skv")});
    EXPECT_EQ(w.tables().size(), 2);
    EXPECT_EQ(w.activeTable()->caption(), "期中成绩");
    EXPECT_TRUE(prompter.calls().empty());
}

TEST_F(FrameTest, ANamedFileThatIsNoTableGetsTheProgramsMessage) {
    writeSchool();
    MainWindow& w = start();
    StartFileOpener opener(w);
    opener.setReady();
    testing::WriteBytes(dir.file("说明.txt"), "x");
    testing::WriteBytes(dir.file("坏.skv"), "not a table\r\n");
    opener.enqueue({q(dir.file("没有.skv")), q(dir.file("说明.txt")), q(dir.file("坏.skv"))});
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{"找不到文件：" + dir.file("没有.skv"),
                                                             "文件格式不正确!", "文件格式不正确!"}));
    Flush();
    EXPECT_TRUE(w.tables().isEmpty());
}

TEST_F(FrameTest, FilesWaitWhileADialogIsOpen) {
    writeSchool();
    writeTable(tablePath("期中"), "期中成绩");
    MainWindow& w = start();
    StartFileOpener opener(w);
    opener.setReady();
    auto* dialog = new QDialog(&w);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 2000));
    opener.enqueue({q(tablePath("期中"))});
    Flush();
    EXPECT_TRUE(w.tables().isEmpty());
    dialog->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.tables().size() == 1; }, 3000));
}

// A later start hands its files to the channel and is answered; the frame's side receives them whole.
using InstanceChannelTest = testing::QtTest;

TEST_F(InstanceChannelTest, ALaterStartHandsItsFilesToTheRunningProgram) {
    testing::TempDir dir;
    const QString name = QStringLiteral("scorvane-test-%1").arg(QCoreApplication::applicationPid());
    InstanceChannel later(name);
    EXPECT_FALSE(later.handOver({QStringLiteral("/a.skv")}, 500));  // nobody listens yet

    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    QList<QStringList> received;
    QObject::connect(&running, &InstanceChannel::filesHandedOver,
                     [&](const QStringList& files) { received << files; });

    const QStringList files{QStringLiteral("/学校/高一 (1)班/期中.skv"), QStringLiteral("/a\nb.skv")};
    // The later start is another process; here a thread of its own (Qt's sockets need a QThread).
    std::atomic<int> answered{-1};
    auto handOverFrom = [&](const QStringList& list) {
        answered = -1;
        std::unique_ptr<QThread> start(QThread::create(
            [&answered, &name, list] { answered = InstanceChannel(name).handOver(list) ? 1 : 0; }));
        start->start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered != -1; }, 5000));
        start->wait();
    };
    handOverFrom(files);
    EXPECT_EQ(answered, 1);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], files);

    // A start without files only brings the frame forward.
    handOverFrom({});
    EXPECT_EQ(answered, 1);
    ASSERT_EQ(received.size(), 2);
    EXPECT_TRUE(received[1].isEmpty());
}

TEST_F(InstanceChannelTest, AClientWithAnotherTagGetsNoAnswerAndOpensNothing) {
    const QString name = QStringLiteral("scorvane-test-tag-%1").arg(QCoreApplication::applicationPid());
    InstanceChannel running(name);
    ASSERT_TRUE(running.listen());
    int handedOver = 0;
    QObject::connect(&running, &InstanceChannel::filesHandedOver, [&](const QStringList&) { ++handedOver; });
    for (quint32 tag : {0x53435632u, 0u}) {
        std::atomic<int> answer{-1};  // the bytes the client got back, once it is done
        std::unique_ptr<QThread> client(QThread::create([&answer, &name, tag] {
            QLocalSocket socket;
            socket.connectToServer(name);
            if (!socket.waitForConnected(2000)) {
                answer = -2;
                return;
            }
            QByteArray request;
            QDataStream out(&request, QIODevice::WriteOnly);
            out << tag << QStringList{QStringLiteral("/a.skv")};
            socket.write(request);
            socket.waitForBytesWritten(2000);
            socket.waitForReadyRead(1000);
            answer = static_cast<int>(socket.readAll().size());
        }));
        client->start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer != -1; }, 5000));
        client->wait();
        EXPECT_EQ(answer, 0) << tag;
    }
    QTest::qWait(50);
    EXPECT_EQ(handedOver, 0);
}

TEST_F(InstanceChannelTest, ASocketLeftByAProgramThatEndedIsReplaced) {
    const QString name = QStringLiteral("scorvane-test-stale-%1").arg(QCoreApplication::applicationPid());
    // What a program that crashed leaves: a socket file nobody listens on.
    {
        QLocalServer crashed;
        ASSERT_TRUE(crashed.listen(name));
        const QString path = crashed.fullServerName();
        crashed.close();
        testing::WriteBytes(path.toStdString(), "");
    }
    InstanceChannel later(name);
    EXPECT_FALSE(later.handOver({}, 500));
    EXPECT_TRUE(later.listen());
}

}  // namespace
}  // namespace scorvane
