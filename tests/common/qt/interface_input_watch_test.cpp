#include "common/qt/interface_input_watch.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <chrono>

#include "common/interface_input.h"
#include "support/qt/qt_app.h"

namespace scorvane::testing {
namespace {

using InterfaceInputWatchTest = QtTest;

// A key the application receives is the interface's input: work on other threads waits for it.
TEST_F(InterfaceInputWatchTest, AKeyReceivedIsNotedAsInput) {
    WatchInterfaceInput();
    QLineEdit box;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    const auto begin = std::chrono::steady_clock::now();
    QCoreApplication::sendEvent(&box, &key);
    GiveWayToInterface(std::chrono::milliseconds(30), std::chrono::milliseconds(2000));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace scorvane::testing
