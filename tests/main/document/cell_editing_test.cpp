#include "main/document/cell_editing.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::SampleDocument;

// Three students, three fields.
Document ThreeByThree() {
    return SampleDocument({"A", "B", "C"}, {{"85", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}});
}

TEST(CellMoveTest, EnterWrapsAlongTheRowOrDownTheColumnAndUpDownStopAtTheEdges) {
    const GradeTable t = ThreeByThree().table;
    const auto along = [&](int r, int c) { return CellAfterEnter(t, {r, c}, EnterDirection::AlongRow); };
    const auto down = [&](int r, int c) { return CellAfterEnter(t, {r, c}, EnterDirection::DownColumn); };
    EXPECT_EQ(along(1, 1), (CellPosition{1, 2}));
    EXPECT_EQ(along(2, 3), (CellPosition{3, 1}));
    EXPECT_EQ(along(3, 3), (CellPosition{1, 1}));
    EXPECT_EQ(down(1, 2), (CellPosition{2, 2}));
    EXPECT_EQ(down(3, 1), (CellPosition{1, 2}));
    EXPECT_EQ(down(3, 3), (CellPosition{1, 3}));
    EXPECT_EQ(CellAfterUp(t, {1, 2}), (CellPosition{1, 2}));
    EXPECT_EQ(CellAfterUp(t, {3, 2}), (CellPosition{2, 2}));
    EXPECT_EQ(CellAfterDown(t, {3, 2}), (CellPosition{3, 2}));
    EXPECT_EQ(CellAfterDown(t, {1, 3}), (CellPosition{2, 3}));
}

TEST(EditorKeyTest, ACharacterReplacesTheCellControlKeysKeepItsTextAndColumnZeroIsTheFirstField) {
    const GradeTable t = ThreeByThree().table;
    const CellPosition cell{1, 1};  // holds "85"
    EXPECT_EQ(EditorTextForKey(t, cell, "a"), "a");
    EXPECT_EQ(EditorTextForKey(t, cell, "."), ".");
    EXPECT_EQ(EditorTextForKey(t, cell, "你好"), "你好");
    for (const char* key : {" ", "\r", "\b"}) {
        EXPECT_EQ(EditorTextForKey(t, cell, key), "85") << int(key[0]);
    }
    for (const char* key : {"\x1b", "\t", "\x03", "\x7f", ""}) {
        EXPECT_EQ(EditorTextForKey(t, cell, key), std::nullopt) << int(key[0]);
    }
    EXPECT_EQ(EditTarget(t, 2, 0), (CellPosition{2, 1}));
    EXPECT_EQ(EditTarget(t, 0, 2), std::nullopt);
    EXPECT_EQ(EditTarget(SampleDocument({}, {{}, {}}).table, 1, 0), std::nullopt);
    EXPECT_EQ(EditTarget(SampleDocument({"A"}, {}).table, 1, 0), std::nullopt);
}

TEST(EditorSnapshotTest, EveryOpeningReplacesTheSnapshotAndUndoWaitsForTheFocusToLeave) {
    Document doc = ThreeByThree();
    OpenCellEditor(doc);
    doc.editorGotFocus();
    EXPECT_FALSE(doc.undoAvailable());
    CommitCellEditor(doc, {1, 1}, "90");
    doc.editorLostFocus();
    EXPECT_TRUE(doc.modified() && doc.undoAvailable());

    // A second opening, cancelled: its snapshot holds "90", so Undo returns to it.
    OpenCellEditor(doc);
    doc.editorGotFocus();
    doc.editorLostFocus();
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.table.cell(1, 1), "90");

    // A commit into a cell the table no longer has changes nothing.
    Document fresh = ThreeByThree();
    CommitCellEditor(fresh, {4, 1}, "x");
    CommitCellEditor(fresh, {1, 0}, "x");
    EXPECT_FALSE(fresh.modified());
    EXPECT_EQ(fresh.table.cell(1, 0), "1");
}

}  // namespace
}  // namespace scorvane
