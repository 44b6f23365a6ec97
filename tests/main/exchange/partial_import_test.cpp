#include "main/exchange/partial_import.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"
#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::Column;
using testing::GbkLines;
using testing::MakeTable;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;
const Values kUntouched{"-", "-", "-", "-"};

// Target: 姓名 语文 数学 with four students; the import fills 数学 (column 3).
Document Target() {
    Document d;
    d.table = MakeTable({"姓名", "语文", "数学"},
                        {{"张三", "80", "-"}, {"李四", "81", "-"}, {"王五", "82", "-"}, {"赵六", "83", "-"}});
    return d;
}

TEST(PartialImportByRow, UsesTheRowsBothTablesHaveAfterAsking) {
    const GradeTable shorter = MakeTable({"名", "分"}, {{"x", "1"}, {"y", "2"}});
    const GradeTable longer = MakeTable({"分"}, {{"1"}, {"2"}, {"3"}, {"4"}, {"5"}, {"6"}});
    Document d = Target();
    ScriptedPrompter p;
    p.answer(Answer::Yes).answer(Answer::Yes).answer(Answer::No);
    EXPECT_EQ(RunPartialImport(d, 3, shorter, 2, std::nullopt, p), PartialImportOutcome::Imported);
    EXPECT_EQ(p.questions()[0], "您没有选择“对号入座”功能，因此，数据只是简单的按次序导入，确定继续么？");
    EXPECT_EQ(p.last().title, "询问");
    EXPECT_EQ(Column(d.table, 3), (Values{"1", "2", "-", "-"}));
    EXPECT_TRUE(d.modified());

    Document e = Target();
    RunPartialImport(e, 3, longer, 1, std::nullopt, p);
    EXPECT_EQ(Column(e.table, 3), (Values{"1", "2", "3", "4"}));
    EXPECT_EQ(e.table.rows(), 5);

    Document declined = Target();
    EXPECT_EQ(RunPartialImport(declined, 3, longer, 1, std::nullopt, p), PartialImportOutcome::Declined);
    EXPECT_EQ(Column(declined.table, 3), kUntouched);
    EXPECT_FALSE(declined.modified());
}

TEST(PartialImportByRow, RefusesColumnZeroOrColumnsOutsideTheTables) {
    const GradeTable source = MakeTable({"名", "分"}, {{"x", "1"}});
    const std::vector<std::tuple<int, int, std::optional<KeyFields>>> bad = {
        {0, 1, std::nullopt}, {3, 0, std::nullopt},    {4, 1, std::nullopt},
        {3, 3, std::nullopt}, {3, 2, KeyFields{0, 1}}, {3, 2, KeyFields{1, 3}}};
    for (const auto& [t, s, key] : bad) {
        Document d = Target();
        ScriptedPrompter p;
        EXPECT_EQ(RunPartialImport(d, t, source, s, key, p), PartialImportOutcome::NoColumns);
        EXPECT_EQ(p.messages(), Values{"请先设置原始表格与导入数据的表格的要进行操作的列！\n请设定完毕再试或"
                                       "按“取消”按钮结束导入操作。"});
        EXPECT_EQ(Column(d.table, 3), kUntouched);
    }
}

TEST(PartialImportByKey, FindsEveryKeyOfTheSourceFirstOccurrenceFirst) {
    // Another order; 李四 twice (the first wins); 王五 missing; 赵六 only in source row 7, beyond
    // min(R_T, R_S) - 1 = 4; empty keys.
    const GradeTable source = MakeTable({"学号", "姓名", "数学"}, {{"01", "李四", "91"},
                                                                   {"02", "", "empty"},
                                                                   {"03", "李四", "99"},
                                                                   {"04", "张三", "90"},
                                                                   {"05", "无名", "70"},
                                                                   {"06", "", "empty2"},
                                                                   {"07", "赵六", "93"}});
    Document d = Target();
    ScriptedPrompter p;  // no question with key matching
    EXPECT_EQ(RunPartialImport(d, 3, source, 3, KeyFields{1, 2}, p), PartialImportOutcome::Imported);
    EXPECT_TRUE(p.calls().empty());
    EXPECT_EQ(Column(d.table, 3), (Values{"90", "91", "-", "93"}));

    // An empty target key matches the first source row whose key is empty.
    Document withEmpty = Target();
    withEmpty.table.setCell(3, 1, "");
    RunPartialImport(withEmpty, 3, source, 3, KeyFields{1, 2}, p);
    EXPECT_EQ(withEmpty.table.cell(3, 3), "empty");

    // Keys compare whole and case-sensitively: nothing is trimmed.
    Document exact;
    exact.table = MakeTable({"Key", "V"}, {{"ab", "-"}, {"ab ", "-"}, {"AB", "-"}});
    RunPartialImport(exact, 2, MakeTable({"K", "V"}, {{"ab", "1"}}), 2, KeyFields{1, 1}, p);
    EXPECT_EQ(Column(exact.table, 2), (Values{"1", "-", "-"}));
}

TEST(PartialImportByKey, MatchesTargetRowsBeyondTheSourcesRowCount) {
    // A short source (two students) still reaches the target's last rows.
    Document d = Target();
    ScriptedPrompter p;
    RunPartialImport(d, 3, MakeTable({"姓名", "数学"}, {{"赵六", "66"}, {"王五", "55"}}), 2, KeyFields{1, 1},
                     p);
    EXPECT_EQ(Column(d.table, 3), (Values{"-", "-", "55", "66"}));

    // Nothing found: nothing changes and the flag stays clear.
    Document none = Target();
    RunPartialImport(none, 3, MakeTable({"姓名", "数学"}, {{"无名", "1"}}), 2, KeyFields{1, 1}, p);
    EXPECT_EQ(Column(none.table, 3), kUntouched);
    EXPECT_FALSE(none.modified());

    // The table may be its own source: the values are read before any is written.
    Document self = Target();
    RunPartialImport(self, 3, self.table, 2, KeyFields{1, 1}, p);
    EXPECT_EQ(Column(self.table, 3), (Values{"80", "81", "82", "83"}));
}

TEST(PartialImportDialog, OpeningTakesTheSnapshotAndLoadDataIReadsTheSource) {
    TempDir dir;
    Document d = Target();
    menuImportSome(d);
    ScriptedPrompter p;
    RecordingStatus status;
    WriteBytes(dir.file("src.skv"), GbkLines({"KVL'S Scorvane数据文件", "S", "3", "3", "", "", "###.##", "x",
                                              "姓名", "数学", "9", "李四", "71", "9", "张三", "70"}));
    ImportSource source = LoadDataI(dir.file("src"), true, p, status);
    ASSERT_EQ(source.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(source.table.headerLayout(), "  |姓名|数学");
    EXPECT_EQ(status.texts, (Values{"文件读取中...", "就绪"}));
    RunPartialImport(d, 3, source.table, 2, KeyFields{1, 1}, p);
    EXPECT_EQ(Column(d.table, 3), (Values{"70", "71", "-", "-"}));
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(Column(d.table, 3), kUntouched);

    // A name relative to the data folder, also with the extension in another letter case.
    {
        testing::ScopedProgramFolder workspace(dir.path());
        WriteBytes(dir.file("表格数据/一中/src.skv"), testing::ReadBytes(dir.file("src.skv")));
        EXPECT_EQ(LoadDataI("一中/src", false, p, status).outcome, LoadOutcome::Loaded);
        WriteBytes(dir.file("表格数据/一中/upper.SKV"), testing::ReadBytes(dir.file("src.skv")));
        EXPECT_EQ(LoadDataI("一中/upper", false, p, status).outcome, LoadOutcome::Loaded);
    }

    // Missing or empty names load nothing without a word; a wrong file says so.
    EXPECT_EQ(LoadDataI(dir.file("none"), true, p, status).outcome, LoadOutcome::Closed);
    EXPECT_EQ(LoadDataI(" ", true, p, status).outcome, LoadOutcome::Closed);
    EXPECT_TRUE(p.calls().empty());
    WriteBytes(dir.file("bad.skv"), GbkLines({"KVL'S Scorvane数据文件", "S", "9", "3"}));
    EXPECT_EQ(LoadDataI(dir.file("bad"), true, p, status).outcome, LoadOutcome::Refused);
    EXPECT_EQ(p.messages(), Values{"文件格式不正确!"});
}

TEST(PartialImportDialog, TheSessionKeepsTheLastLoadedSourceAndMapsKeyPositionsToColumns) {
    TempDir dir;
    Document d = Target();
    ScriptedPrompter p;
    RecordingStatus status;
    PartialImportSession session(d);
    EXPECT_TRUE(d.undoAvailable());  // opening takes the snapshot
    EXPECT_EQ(session.targetFields(), (Values{"姓名", "语文", "数学"}));
    EXPECT_TRUE(session.sourceFields().empty());
    EXPECT_EQ(session.confirm(3, 2, std::nullopt, p), PartialImportOutcome::NoSource);
    EXPECT_TRUE(p.calls().empty());

    WriteBytes(dir.file("src.skv"), GbkLines({"KVL'S Scorvane数据文件", "S", "3", "3", "", "", "###.##", "  ",
                                              "学号", "姓名", "1", "02", "李四", "2", "01", "张三"}));
    // Cancelled, then a file chosen with its extension in capitals, then a missing one.
    p.chooseOpen("").chooseOpen(dir.file("src.SKV")).chooseOpen(dir.file("none.skv"));
    EXPECT_EQ(session.browse(p, status), LoadOutcome::Closed);
    EXPECT_FALSE(session.sourceLoaded());
    EXPECT_EQ(session.browse(p, status), LoadOutcome::Loaded);
    EXPECT_EQ(session.browse(p, status), LoadOutcome::Closed);
    ASSERT_TRUE(session.sourceLoaded());
    EXPECT_EQ(session.sourceFields(), (Values{"学号", "姓名"}));
    EXPECT_EQ(p.calls()[0].title, "打开数据文件");

    // Key positions are list entries: 姓名 is entry 0 of the target's list and entry 1 of the source's.
    // Fills 数学 (column 3) from the source's 学号 (column 1).
    EXPECT_EQ(session.confirm(3, 1, PartialImportSession::KeyPositions{0, 1}, p),
              PartialImportOutcome::Imported);
    EXPECT_EQ(Column(d.table, 3), (Values{"01", "02", "-", "-"}));
    // No entry chosen in a list stands for column 0.
    EXPECT_EQ(session.confirm(3, 1, PartialImportSession::KeyPositions{-1, 0}, p),
              PartialImportOutcome::NoColumns);
    ASSERT_TRUE(d.undo());
    EXPECT_EQ(Column(d.table, 3), kUntouched);
}

}  // namespace
}  // namespace scorvane
