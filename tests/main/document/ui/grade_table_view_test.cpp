#include "main/document/ui/grade_table_view.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

#include "tests/main/document/ui/table_window_fixture.h"

namespace scorvane::testing {
namespace {

using GradeTableViewTest = TableWindowTest;

// Opening and closing the cell editor moves the focus out of the grid and back: only the cells are
// painted again, not the grid's frame, headers and scroll bars.
TEST_F(GradeTableViewTest, TheGridsFocusRepaintsItsCellsOnly) {
    load(60);
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } frame, cells;
    QTableView& grid = *window->grid();
    QApplication::processEvents();
    ASSERT_TRUE(grid.verticalScrollBar()->isVisible());
    grid.setFocus();
    QApplication::processEvents();
    grid.verticalScrollBar()->installEventFilter(&frame);
    grid.horizontalHeader()->viewport()->installEventFilter(&frame);
    grid.viewport()->installEventFilter(&cells);
    window->valueBox()->setFocus();
    QApplication::processEvents();
    grid.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(frame.paints, 0);
    EXPECT_GE(cells.paints, 1);
}

}  // namespace
}  // namespace scorvane::testing
