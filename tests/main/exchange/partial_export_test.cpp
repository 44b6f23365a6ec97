#include "main/exchange/partial_export.h"

#include <gtest/gtest.h>

#include "main/document/data_file.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::MakeTable;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using Values = std::vector<std::string>;

GradeTable SixStudents() {
    GradeTable t = MakeTable({"姓名", "语文", "数学", "总分"},
                             {{"甲", "71", "81", "！公式：cell(?,2)+cell(?,3)"},
                              {"乙", "72", "82"},
                              {"丙", "73", "83"},
                              {"丁", "74", "84"},
                              {"戊", "75", "85"},
                              {"己", "76", "86"}},
                             "期中");
    t.teacher = "王老师";
    t.classInfo = "高一\r\n(1)班";
    t.dataFormat = "###.#";
    return t;
}

TEST(PartialExport, RowsTwoAndFiveWithFieldsOneAndThreeGiveNineCells) {
    TempDir dir;
    ASSERT_TRUE(WriteDataFile(ExtractTable(SixStudents(), {2, 5}, {1, 3}), dir.file("out")));
    EXPECT_EQ(ReadBytes(dir.file("out.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "期中 导出表", "3", "3", "王老师", "高一[/](1)班", "###.#",
                        "  ", "姓名", "数学", "2", "乙", "82", "5", "戊", "85"}));
}

TEST(PartialExport, TakesSelectionInTableOrderAndCopiesCellsAsStored) {
    const GradeTable t = SixStudents();
    // Order and repeats of the choice do not matter; numbers outside the table are ignored.
    GradeTable out = ExtractTable(t, {6, 1, 6, 0, 7}, {4, 1, 9});
    EXPECT_EQ(out.cellTexts(),
              (Values{"  ", "姓名", "总分", "1", "甲", "！公式：cell(?,2)+cell(?,3)", "6", "己", ""}));
    // No row chosen: only the header cells of the chosen fields; no field: only column 0.
    EXPECT_EQ(ExtractTable(t, {}, {1, 2}).cellTexts(), (Values{"  ", "姓名", "语文"}));
    EXPECT_EQ(ExtractTable(t, {3}, {}).cellTexts(), (Values{"  ", "3"}));
}

TEST(PartialExport, CommandSavesThenOffersToOpen) {
    TempDir dir;
    const GradeTable t = SixStudents();
    RecordingStatus status;
    ScriptedPrompter p;
    p.chooseSave("");
    EXPECT_EQ(ExportPartialTable(t, {1}, {1}, p, status).outcome, PartialExportOutcome::Cancelled);
    EXPECT_EQ(p.calls()[0].text, "*.skv");
    EXPECT_EQ(p.calls()[0].suggestedName, t.title);
    EXPECT_TRUE(status.texts.empty());

    p.chooseSave(dir.file("a.skv")).answer(Answer::Yes);
    PartialExportResult r = ExportPartialTable(t, {1}, {1}, p, status);
    EXPECT_EQ(r.outcome, PartialExportOutcome::Open);
    EXPECT_EQ(r.path, dir.file("a"));
    EXPECT_EQ(p.questions(), Values{"文件保存完毕，是否现在打开？"});
    EXPECT_EQ(p.last().title, "询问");
    EXPECT_EQ(status.texts, (Values{"正在保存文件...", "就绪"}));
    GradeTable back;
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("a.skv")), back));
    EXPECT_EQ(back.cellTexts(), (Values{"  ", "姓名", "1", "甲"}));

    // No: the dialog stays; a name without the extension gets it, and the former file is replaced.
    p.chooseSave(dir.file("a")).answer(Answer::No);
    r = ExportPartialTable(t, {2}, {1}, p, status);
    EXPECT_EQ(r.outcome, PartialExportOutcome::Saved);
    ASSERT_TRUE(ParseDataFile(ReadBytes(dir.file("a.skv")), back));
    EXPECT_EQ(back.cell(1, 1), "乙");

    testing::WriteBytes(dir.file("blocker"), "x");
    ScriptedPrompter failing;
    failing.chooseSave(dir.file("blocker/b.skv"));
    EXPECT_EQ(ExportPartialTable(t, {2}, {1}, failing, status).outcome, PartialExportOutcome::Failed);
    EXPECT_EQ(failing.messages(), Values{std::string(kSaveFailedMessage)});
    EXPECT_TRUE(failing.questions().empty());
}

}  // namespace
}  // namespace scorvane
