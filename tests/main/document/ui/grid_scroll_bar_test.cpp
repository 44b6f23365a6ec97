#include "main/document/ui/grid_scroll_bar.h"

#include <QApplication>
#include <QEvent>
#include <QTest>

#include "support/qt/qt_app.h"

namespace scorvane::testing {
namespace {

using GridScrollBarTest = QtTest;

// A value that leaves the handle where it was painted paints nothing; one that moves the handle, or
// reaches an end, paints the bar again.
TEST_F(GridScrollBarTest, PaintsAgainOnlyWhenTheHandleOrAnEndChanges) {
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } count;
    GridScrollBar bar(Qt::Vertical);
    bar.setRange(0, 20000);
    bar.setPageStep(20);
    bar.resize(14, 400);
    bar.setValue(10000);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();
    bar.installEventFilter(&count);
    struct Step {
        int value;
        bool paints;
    };
    for (const Step& step : {Step{10001, false}, Step{10200, true}, Step{10201, false}, Step{0, true},
                             Step{1, true}, Step{20000, true}}) {
        SCOPED_TRACE(step.value);
        count.paints = 0;
        bar.setValue(step.value);
        QApplication::processEvents();
        EXPECT_EQ(count.paints > 0, step.paints);
    }
}

}  // namespace
}  // namespace scorvane::testing
