#include "main/workspace/ui/splash_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "support/qt/qt_app.h"

namespace scorvane {
namespace {

class SplashWindowTest : public testing::QtTest {};

TEST_F(SplashWindowTest, TheBarFillsInStepsThenHandsOverAndClosesAfterTheHold) {
    SplashWindow splash("V 1.1.0000");
    EXPECT_EQ(splash.objectName(), "frmSlape");
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.progressTimer().interval(), 1);
    EXPECT_EQ(splash.holdTimer().interval(), 1500);
    int handOvers = 0;
    int finishes = 0;
    QObject::connect(&splash, &SplashWindow::handOver, [&] { ++handOvers; });
    QObject::connect(&splash, &SplashWindow::finished, [&] { ++finishes; });
    splash.show();

    // 200 twips a tick across a splash 7200 twips wide: the 36th tick hands over, not one before.
    for (int i = 0; i < 35; ++i) {
        splash.tick();
    }
    EXPECT_EQ(splash.progressTwips(), 7000);
    EXPECT_EQ(handOvers, 0);
    EXPECT_TRUE(splash.progressText().isEmpty());
    splash.tick();
    EXPECT_EQ(handOvers, 1);
    EXPECT_EQ(splash.progressText(), "启动完成,正在加载组件...");
    EXPECT_TRUE(splash.holdTimer().isActive());
    EXPECT_FALSE(splash.progressTimer().isActive());
    splash.tick();  // a late tick changes nothing
    EXPECT_EQ(handOvers, 1);

    // The hold ends: the splash closes and lets the main window be used.
    splash.holdTimer().setInterval(1);
    splash.holdTimer().start();
    QElapsedTimer clock;
    clock.start();
    while (finishes == 0 && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(SplashWindowTest, TheTimerRunsTheStartUpByItself) {
    SplashWindow splash("V 1.1.0000");
    bool handedOver = false;
    QObject::connect(&splash, &SplashWindow::handOver, [&] { handedOver = true; });
    splash.show();
    splash.start();
    QElapsedTimer clock;
    clock.start();
    while (!handedOver && clock.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(handedOver);
    EXPECT_TRUE(splash.isVisible());  // still shown during the hold
}

}  // namespace
}  // namespace scorvane
