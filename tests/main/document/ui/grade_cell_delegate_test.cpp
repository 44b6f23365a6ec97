#include "main/document/ui/grade_cell_delegate.h"

#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>

#include "main/document/ui/cell_text_cache.h"
#include "main/document/ui/grade_table_model.h"
#include "tests/main/document/ui/table_window_fixture.h"

namespace scorvane::testing {
namespace {

// The view's own options for a cell, as it hands them to its delegate.
struct ViewOptions : QTableView {
    using QTableView::initViewItemOption;
};

QImage Painted(const QAbstractItemDelegate& delegate, const QStyleOptionViewItem& option,
               const QModelIndex& index) {
    QImage image(option.rect.size() + QSize(8, 8), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

using GradeCellDelegateTest = TableWindowTest;

// Every look a cell can have is painted pixel for pixel as the standard delegate paints it.
TEST_F(GradeCellDelegateTest, PaintsEveryCellAsTheStandardDelegateDoes) {
    load();
    struct Case {
        const char* text;
        CellMark mark;
        QSize size;
        QStyle::State state;
    };
    const QStyle::State normal = QStyle::State_Enabled | QStyle::State_Active;
    const QStyle::State selected = normal | QStyle::State_Selected;
    const CellMark none;
    const Case cases[] = {
        {"86", none, {80, 24}, normal},
        {"学生一", none, {80, 24}, selected},
        {"59", {MarkColour::Red, false}, {80, 24}, normal},
        {"59", {MarkColour::Blue, false}, {80, 24}, normal},
        {"100", {MarkColour::Normal, true}, {80, 24}, normal},
        {"100", {MarkColour::Red, true}, {80, 24}, selected},
        {"一个很长很长的名字超出了这一列", none, {80, 24}, normal},  // shortened with "…"
        {"2024000001", {MarkColour::Normal, true}, {50, 24}, selected},
        {"88", none, {5, 24}, normal},      // narrower than the margins
        {"学生二", none, {80, 9}, normal},  // a row lower than the line
        {"", none, {80, 24}, selected},
        {"61  ", none, {22, 24}, normal},                         // trailing spaces over the edge
        {"Wide Ægir ﬂ", none, {80, 24}, QStyle::State_Selected},  // disabled
        {"学生三", {MarkColour::Blue, false}, {80, 24}, QStyle::State_Enabled | QStyle::State_Selected},
    };
    const QStyledItemDelegate standard;
    const QAbstractItemDelegate& fast = *window->grid()->itemDelegate();
    ASSERT_NE(dynamic_cast<const GradeCellDelegate*>(&fast), nullptr);
    GradeTable& table = window->document().table;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        table.setCell(1, 1, c.text);
        table.setMark(1, 1, c.mark);
        window->grid()->setEnabled(c.state & QStyle::State_Enabled);
        QStyleOptionViewItem option;
        (window->grid()->*&ViewOptions::initViewItemOption)(&option);
        option.rect = QRect(QPoint(4, 4), c.size);
        option.state = (option.state & ~(QStyle::State_Enabled | QStyle::State_Active)) | c.state;
        const QModelIndex index = window->model().indexOf(1, 1);
        EXPECT_EQ(Painted(fast, option, index), Painted(standard, option, index));
    }
}

// The texts kept are the ones painted last, at most as many as the cache holds; a new font forgets
// them all.
TEST_F(GradeCellDelegateTest, TheTextCacheKeepsItsCapacityAndForgetsTextsOfAnotherFont) {
    CellTextCache cache(3);
    cache.setFont(QFont(), QTextOption());
    for (const char* text : {"1", "2", "3", "4", "5", "4"}) {
        EXPECT_EQ(cache.text(text).string, QString::fromUtf8(text));
    }
    EXPECT_EQ(cache.count(), 3);
    QFont bold;
    bold.setBold(true);
    cache.setFont(bold, QTextOption());
    EXPECT_EQ(cache.count(), 0);
}

}  // namespace
}  // namespace scorvane::testing
