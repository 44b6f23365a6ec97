#include "main/document/grade_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "main/document/document.h"

namespace scorvane {
namespace {

TEST(GradeTable, FreshTableAndFlatIndex) {
    GradeTable t;
    EXPECT_EQ(t.rows(), 2);
    EXPECT_EQ(t.cols(), 2);
    EXPECT_EQ(t.title, "未命名的表格");
    EXPECT_EQ(t.dataFormat, "###.##");
    t.resize(4, 5);
    EXPECT_EQ(t.faIndex(2, 3), 13);
    t.setCols(6);
    EXPECT_EQ(t.faIndex(2, 3), 15);
}

TEST(GradeTable, ResizingKeepsCellsAtTheirRowAndColumn) {
    GradeTable t(3, 3);
    t.setCell(1, 1, "a");
    t.setCell(2, 2, "b");
    t.setCols(5);
    EXPECT_EQ(t.cell(1, 1), "a");
    EXPECT_EQ(t.cell(2, 2), "b");
    EXPECT_EQ(t.cell(2, 4), "");
    t.setRows(2);
    EXPECT_EQ(t.rows(), 2);
    t.setRows(3);
    EXPECT_EQ(t.cell(2, 2), "");  // the dropped row comes back empty
    t.setCols(2);
    EXPECT_EQ(t.cell(1, 1), "a");
}

TEST(GradeTable, HeaderLayoutStringSetsCountsAndTitlesOnly) {
    GradeTable t(3, 2);
    t.setCell(1, 1, "85");
    t.setHeaderLayout("  |姓名|语文|数学");
    EXPECT_EQ(t.cols(), 4);
    EXPECT_EQ(t.cell(0, 0), "  ");
    EXPECT_EQ(t.cell(0, 3), "数学");
    EXPECT_EQ(t.cell(1, 1), "85");  // data stay where they were
    EXPECT_EQ(t.headerLayout(), "  |姓名|语文|数学");
    EXPECT_EQ(t.fieldTitles(), (std::vector<std::string>{"姓名", "语文", "数学"}));

    t.setHeaderLayout("   |A");
    EXPECT_EQ(t.cols(), 2);
    EXPECT_EQ(t.cell(0, 0), "   ");
    EXPECT_EQ(t.cell(1, 1), "85");

    t.setCell(0, 1, "");
    EXPECT_EQ(t.composeHeaderLayout(true), "  |   ");
    EXPECT_EQ(t.composeHeaderLayout(false), "  |");
    t.setHeaderLayout("");  // no segments but the corner: no fields
    EXPECT_EQ(t.cols(), 1);
}

TEST(GradeTable, ExplicitWidthsLastUntilTheNextHeaderLayout) {
    GradeTable t(3, 3);
    t.setColumnWidth(2, 2000);
    t.setRowHeight(1, 600);
    EXPECT_EQ(t.columnWidth(2), 2000);
    uint64_t generation = t.layoutGeneration();
    t.setHeaderLayout("  |a|b");
    EXPECT_EQ(t.columnWidth(2), 0);
    EXPECT_EQ(t.rowHeight(1), 600);
    EXPECT_GT(t.layoutGeneration(), generation);
}

TEST(GradeTable, MarksFollowResizingAndClear) {
    GradeTable t(3, 3);
    t.setMark(2, 2, {MarkColour::Red, true});
    t.setCols(4);
    EXPECT_EQ(t.mark(2, 2), (CellMark{MarkColour::Red, true}));
    EXPECT_EQ(t.mark(1, 1), CellMark{});
    t.clearMarks();
    EXPECT_FALSE(t.hasMarks());
    EXPECT_EQ(t.mark(2, 2), CellMark{});
    EXPECT_EQ(t.mark(99, 99), CellMark{});
}

TEST(GradeTable, RenumberAndEmptyTables) {
    GradeTable t(4, 1);
    t.setCell(1, 0, "x");
    t.renumber();
    EXPECT_EQ(t.cell(1, 0), "1");
    EXPECT_EQ(t.cell(3, 0), "3");
    GradeTable none(1, 1);
    none.renumber();
    EXPECT_TRUE(none.fieldTitles().empty());
}

// The cells kept in place (up to four bytes) and in the table's text buffer, checked against a plain
// list of strings through every kind of change: texts of every length around the boundary, texts taken
// from the table's own cells, equal texts down a column, whole rows moved, columns inserted and removed,
// copies, and enough replaced text that the buffer is compacted again and again.
TEST(GradeTable, CellsKeepTheirTextsThroughEveryChange) {
    GradeTable t(6, 4);
    std::vector<std::string> model(24);
    int rows = 6;
    int cols = 4;
    auto at = [&](int r, int c) {
        return static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c);
    };
    auto check = [&](const char* step) {
        ASSERT_EQ(t.rows(), rows) << step;
        ASSERT_EQ(t.cols(), cols) << step;
        ASSERT_EQ(t.cellTexts(), model) << step;
    };
    uint64_t state = 7;
    auto next = [&state](uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % n);
    };
    const std::string formula = "！公式：cell(?,1)+cell(?,2)";
    for (int round = 0; round < 3000; ++round) {
        const int r = next(static_cast<uint64_t>(rows));
        const int c = next(static_cast<uint64_t>(cols));
        switch (next(9)) {
            case 0:
            case 1: {  // a text of 0 .. 9 bytes, or a long one
                const int length = next(12);
                const std::string text = length == 11 ? std::string(static_cast<size_t>(300 + next(200)), 'x')
                                                      : std::string(static_cast<size_t>(length), static_cast<char>('a' + next(26)));
                t.setCell(r, c, text);
                model[at(r, c)] = text;
                break;
            }
            case 2: {  // another cell's text, or the cell's own, or a part of one
                const int r2 = next(static_cast<uint64_t>(rows));
                const int c2 = next(static_cast<uint64_t>(cols));
                const std::string_view source = t.cell(r2, c2);
                const size_t skip = source.empty() ? 0 : static_cast<size_t>(next(source.size()));
                model[at(r, c)] = std::string(source.substr(skip));
                t.setCell(r, c, source.substr(skip));
                break;
            }
            case 3:  // a column of equal formulas
                for (int row = 1; row < rows; ++row) {
                    t.setCell(row, c, formula);
                    model[at(row, c)] = formula;
                }
                break;
            case 4: {  // the data rows in another order
                std::vector<int> order(static_cast<size_t>(rows - 1));
                for (size_t i = 0; i < order.size(); ++i) {
                    order[i] = static_cast<int>(i);
                }
                for (size_t i = order.size(); i > 1; --i) {
                    std::swap(order[i - 1], order[static_cast<size_t>(next(i))]);
                }
                t.reorderDataRows(order);
                std::vector<std::string> moved = model;
                for (size_t i = 0; i < order.size(); ++i) {
                    for (int col = 0; col < cols; ++col) {
                        moved[at(static_cast<int>(i) + 1, col)] = model[at(order[i] + 1, col)];
                    }
                }
                model = moved;
                break;
            }
            case 5:
            case 6: {  // a column inserted or removed, and perhaps rows more or less
                const bool insert = next(2) == 0 && cols < 7;
                const bool remove = !insert && cols > 2;
                if (insert) {
                    t.insertColumn(c);
                } else if (remove) {
                    t.removeColumn(c);
                }
                std::vector<std::string> reshaped;
                for (int row = 0; row < rows; ++row) {
                    std::vector<std::string> line(model.begin() + static_cast<long>(at(row, 0)),
                                                  model.begin() + static_cast<long>(at(row, 0)) + cols);
                    if (insert) {
                        line.insert(line.begin() + c, std::string());
                    } else if (remove) {
                        line.erase(line.begin() + c);
                    }
                    reshaped.insert(reshaped.end(), line.begin(), line.end());
                }
                cols += insert ? 1 : remove ? -1 : 0;
                model = reshaped;
                if (next(4) == 0) {
                    rows = std::max(1, rows + next(5) - 2);
                    t.setRows(rows);
                    model.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
                }
                break;
            }
            case 7: {  // a copy, and the table assigned from it
                GradeTable copy = t;
                t = GradeTable(1, 1);
                t = copy;
                break;
            }
            case 8:  // a long text replaced many times over
                for (int k = 0; k < 40; ++k) {
                    const std::string text(4000 + static_cast<size_t>(k), static_cast<char>('A' + k % 26));
                    t.setCell(r, c, text);
                    model[at(r, c)] = text;
                }
                break;
        }
        check("after a change");
    }
}

TEST(GradeTable, EmptyTablesAndTheLargestTable) {
    GradeTable none(0, 0);
    EXPECT_TRUE(none.cellTexts().empty());
    none.setRows(1);
    none.setCols(1);
    none.setCell(0, 0, "  ");
    EXPECT_EQ(none.cell(0, 0), "  ");
    none.setCell(0, 0, std::string_view());  // an empty view without bytes
    EXPECT_EQ(none.cell(0, 0), "");
    none.setCell(0, 0, "  ");
    none.printPlan.pageBreakField = "班级";
    GradeTable copy = none;
    EXPECT_EQ(copy.cellTexts(), none.cellTexts());
    EXPECT_EQ(copy.printPlan, none.printPlan);  // what a result asks of printing goes with its copies

    // At the row limit: the last cell of the last row, in place and in the buffer.
    GradeTable tall(GradeTable::kMaxCount, 2);
    tall.renumber();
    tall.setCell(GradeTable::kMaxCount - 1, 1, "最后一行的名字");
    EXPECT_EQ(tall.cell(GradeTable::kMaxCount - 1, 0), "32766");
    EXPECT_EQ(tall.cell(GradeTable::kMaxCount - 1, 1), "最后一行的名字");
    tall.setCell(GradeTable::kMaxCount - 1, 1, "85");
    EXPECT_EQ(tall.cellAt(tall.faIndex(GradeTable::kMaxCount, 0) - 1), "85");
    EXPECT_EQ(tall.cellTexts().size(), static_cast<size_t>(2 * GradeTable::kMaxCount));
}

TEST(Document, UndoRestoresCountsDataAndTitlesButNotColumnZero) {
    Document d;
    d.table.resize(3, 3);
    d.table.setHeaderLayout("  |A|B");
    d.table.setCell(1, 1, "85");
    d.table.setCell(2, 0, "2");
    EXPECT_FALSE(d.undoAvailable());
    EXPECT_FALSE(d.undo());

    d.takeSnapshot();
    EXPECT_TRUE(d.undoAvailable());
    d.table.setRows(2);                   // lower the class size
    d.table.setHeaderLayout("  |A|B|C");  // and add a field
    d.table.setCell(1, 1, "90");
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(d.table.rows(), 3);
    EXPECT_EQ(d.table.cols(), 3);
    EXPECT_EQ(d.table.cell(1, 1), "85");
    EXPECT_EQ(d.table.cell(0, 2), "B");
    EXPECT_EQ(d.table.cell(2, 0), "");  // column 0 is not in the snapshot
    EXPECT_FALSE(d.undoAvailable());
    EXPECT_FALSE(d.modified());  // undo leaves the modified flag alone

    // A fresh table has no header layout string yet: undo must still bring back its titles, and must
    // not leave a string of the undone change behind for the next undo to restore.
    Document fresh;
    fresh.takeSnapshot();
    fresh.table.setHeaderLayout("  |新|   ");
    fresh.table.setCell(1, 1, "85");
    ASSERT_TRUE(fresh.undo());
    EXPECT_EQ(fresh.table.cols(), 2);
    EXPECT_EQ(fresh.table.fieldTitles(), (std::vector<std::string>{""}));
    EXPECT_EQ(fresh.table.headerLayout(), "");
    fresh.takeSnapshot();
    ASSERT_TRUE(fresh.undo());
    EXPECT_EQ(fresh.table.cols(), 2);
}

TEST(Document, TellsItsListenerEachTimeUndoBecomesAvailableOrNot) {
    Document d;
    std::vector<bool> told;
    d.setUndoListener([&](bool available) { told.push_back(available); });
    d.takeSnapshot();
    d.takeSnapshot();
    d.editorGotFocus();
    d.takeEditorSnapshot();
    d.editorLostFocus();
    d.undo();
    d.undo();
    // No snapshot since the undo: the editor letting go leaves Undo unavailable.
    d.editorGotFocus();
    d.editorLostFocus();
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

TEST(Document, EditorSnapshotWaitsForTheEditorToLetGo) {
    Document d;
    d.table.setCell(1, 1, "a");
    d.takeEditorSnapshot();
    d.editorGotFocus();
    EXPECT_FALSE(d.undoAvailable());
    d.table.setCell(1, 1, "b");
    d.editorLostFocus();
    EXPECT_TRUE(d.undoAvailable());
    // A second change replaces the snapshot: undo returns to the state after the first change.
    d.takeSnapshot();
    d.table.setCell(1, 1, "c");
    d.undo();
    EXPECT_EQ(d.table.cell(1, 1), "b");
}

}  // namespace
}  // namespace scorvane
