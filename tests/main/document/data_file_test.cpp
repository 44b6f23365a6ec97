#include "main/document/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "main/workspace/workspace_folder.h"
#include "support/sample_table.h"
#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace scorvane {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;

GradeTable twoStudents() {
    GradeTable t =
        testing::MakeTable({"姓名", "语文"}, {{"张三", "85"}, {"李四", "！公式：cell(?,1)"}}, "期中");
    t.teacher = "王老师";
    t.classInfo = "高一(1)班";
    return t;
}

TEST(DataFile, WorkedExampleLineByLineInGbk) {
    std::string bytes = SerializeDataFile(twoStudents());
    EXPECT_EQ(bytes, GbkLines({"KVL'S Scorvane数据文件", "期中", "3", "3", "王老师", "高一(1)班", "###.##",
                               "  ", "姓名", "语文", "1", "张三", "85", "2", "李四", "！公式：cell(?,1)"}));
    GradeTable back;
    ASSERT_TRUE(ParseDataFile(bytes, back));
    EXPECT_EQ(SerializeDataFile(back), bytes);  // every value and cell read back as written
}

TEST(DataFile, SmallestTablesAndEmptyValues) {
    GradeTable corner(1, 1);
    corner.title = "";
    corner.dataFormat = "";
    std::string bytes = SerializeDataFile(corner);
    EXPECT_EQ(bytes, GbkLines({"KVL'S Scorvane数据文件", "", "1", "1", "", "", "", ""}));
    GradeTable back;
    ASSERT_TRUE(ParseDataFile(bytes, back));
    EXPECT_EQ(SerializeDataFile(back), bytes);

    GradeTable blanks(2, 3);  // empty titles and cells
    ASSERT_TRUE(ParseDataFile(SerializeDataFile(blanks), back));
    EXPECT_EQ(back.cellTexts(), blanks.cellTexts());
}

TEST(DataFile, LineBreaksNeverReachTheFileRaw) {
    GradeTable t(2, 2);
    t.classInfo = "第一行\r\n第二行";
    t.setCell(1, 1, "a\nb\rc");
    std::string text = DecodeGbk(SerializeDataFile(t));
    EXPECT_NE(text.find("第一行[/]第二行\r\n"), std::string::npos);
    EXPECT_NE(text.find("a[/]b[/]c\r\n"), std::string::npos);
    GradeTable back;
    ASSERT_TRUE(ParseDataFile(SerializeDataFile(t), back));
    EXPECT_EQ(back.classInfo, "第一行\r\n第二行");
    EXPECT_EQ(back.cell(1, 1), "a\r\nb\r\nc");
    EXPECT_EQ(back.rows(), 2);
}

TEST(DataFile, AcceptsLfLinesUtf8FilesAndIgnoresTrailingText) {
    GradeTable t;
    std::string lf = "KVL'S Scorvane数据文件\nT\n2\n2\n\n\n###.##\n  \nA\n1\n85\nrest\nof\nfile\n";
    ASSERT_TRUE(ParseDataFile(EncodeGbk(lf), t));
    EXPECT_EQ(t.cell(1, 1), "85");
    ASSERT_TRUE(ParseDataFile(lf, t));  // the same file in UTF-8
    EXPECT_EQ(t.cell(0, 1), "A");
    // The last cell may lack its line end.
    ASSERT_TRUE(ParseDataFile(EncodeGbk("KVL'S Scorvane数据文件\r\nT\r\n1\r\n1\r\n\r\n\r\n\r\nX"), t));
    EXPECT_EQ(t.cell(0, 0), "X");
}

TEST(DataFile, EveryMalformedFileIsRefusedWithNothingChanged) {
    // The magic and title, then Rows, Cols, teacher, class information, data format and the cells.
    auto file = [](std::string_view rest) {
        return EncodeGbk("KVL'S Scorvane数据文件\r\nT\r\n" + std::string(rest));
    };
    const std::vector<std::string> bad = {
        "",
        EncodeGbk("KVL'S Scorvane数据文件"),                                        // header cut short
        EncodeGbk("KVL'S Scorvane数据文件x\r\nT\r\n1\r\n1\r\n\r\n\r\n\r\n  \r\n"),  // wrong magic
        EncodeGbk("kvl's scorvane数据文件\r\nT\r\n1\r\n1\r\n\r\n\r\n\r\n  \r\n"),   // case matters
        file("0\r\n1\r\n\r\n\r\n\r\n"),                                             // no rows at all
        file("abc\r\n1\r\n\r\n\r\n\r\n  \r\n"),
        file("1\r\n-2\r\n\r\n\r\n\r\n  \r\n"),
        file("32768\r\n1\r\n\r\n\r\n\r\n  \r\n"),
        file("1.5\r\n1\r\n\r\n\r\n\r\n  \r\n"),
        file("2\r\n2\r\n\r\n\r\n\r\n  \r\nA\r\n1\r\n"),  // ends before its last cell
        file("32767\r\n32767\r\n\r\n\r\n\r\n  \r\n"),    // claims a billion cells
    };
    for (const std::string& bytes : bad) {
        GradeTable t = twoStudents();
        t.filePath = "/keep";
        EXPECT_FALSE(ParseDataFile(bytes, t)) << DecodeGbk(bytes);
        EXPECT_EQ(t.cellTexts(), twoStudents().cellTexts());
        EXPECT_EQ(t.title, "期中");
        EXPECT_EQ(t.filePath, "/keep");
    }
}

// A data file read from disk a piece at a time gives what its bytes read whole give: cells that cross
// the reader's buffer or are longer than it, the last cell at the very end of the file without its line
// end, a file that ends a cell early, trailing text, UTF-8 files sound and damaged.
TEST(DataFile, ReadingAFileGivesWhatItsBytesGive) {
    TempDir dir;
    GradeTable big = testing::MakeMarksTable(4000, 5);  // about 1.2 MB, formulas down two columns
    big.setCell(7, 1, std::string(600 * 1024, 'x'));    // a cell longer than the buffer
    big.classInfo = "第一行\r\n第二行";
    const std::string whole = SerializeDataFile(big);
    GradeTable last(2, 2);
    last.setCell(1, 1, "85");
    const std::string lastBytes = SerializeDataFile(last);
    const std::string utf8 = "KVL'S Scorvane数据文件\nT\n2\n2\n\n\n###.##\n  \n名\n1\n张三\n";
    const std::vector<std::string> files = {
        whole,
        lastBytes.substr(0, lastBytes.size() - 2),                    // no line end after the last cell
        whole.substr(0, whole.size() - 4),                            // the last cell cut short
        whole.substr(0, whole.rfind("\r\n", whole.size() - 3) + 2),  // the last cell missing
        whole + "trailing\r\ntext",
        utf8,
        utf8 + "\xff",  // a damaged byte after the last cell of a UTF-8 file
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string path = dir.file("t" + std::to_string(i) + ".skv");
        WriteBytes(path, files[i]);
        GradeTable parsed;
        GradeTable read;
        const bool parsedOk = ParseDataFile(files[i], parsed);
        EXPECT_EQ(ReadDataFile(path, read), parsedOk) << i;
        EXPECT_EQ(read.cellTexts(), parsed.cellTexts()) << i;
        EXPECT_EQ(read.classInfo, parsed.classInfo) << i;
        EXPECT_EQ(SerializeDataFile(read), SerializeDataFile(parsed)) << i;
    }
    GradeTable back;
    ASSERT_TRUE(ReadDataFile(dir.file("t0.skv"), back));
    EXPECT_EQ(SerializeDataFile(back), whole);
    EXPECT_FALSE(ReadDataFile(dir.file("missing.skv"), back));
    EXPECT_FALSE(ReadDataFile(dir.path(), back));  // a folder
}

// Written piece by piece the file is the same as made whole, and the table reads back the same.
TEST(DataFile, WritingInPiecesWritesTheSameBytes) {
    TempDir dir;
    GradeTable t = testing::MakeMarksTable(3000, 9);
    ASSERT_TRUE(WriteDataFile(t, dir.file("marks")));
    EXPECT_EQ(ReadBytes(dir.file("marks.skv")), SerializeDataFile(t));
    GradeTable empty(1, 1);
    ASSERT_TRUE(WriteDataFileTo(empty, dir.file("corner.skv")));
    EXPECT_EQ(ReadBytes(dir.file("corner.skv")), SerializeDataFile(empty));
}

class DataFileCommands : public ::testing::Test {
  protected:
    TempDir dir;
    testing::ScopedProgramFolder folder{dir.path()};
    ScriptedPrompter prompter;
    RecordingStatus status;
};

TEST_F(DataFileCommands, LoadRenumbersSetsTheHeaderAndReportsProgress) {
    WriteBytes(dir.file("表格数据/初一/甲.skv"),
               GbkLines({"KVL'S Scorvane数据文件", "T", "4", "3", "", "", "###.##", "x", "姓名", "", "9", "a",
                         "1", "", "b", "2", "z", "c", "3"}));
    Document d;
    ASSERT_EQ(LoadData(d, "初一/甲", false, prompter, status), LoadOutcome::Loaded);
    EXPECT_EQ(d.table.cell(1, 0), "1");
    EXPECT_EQ(d.table.cell(2, 0), "2");
    EXPECT_EQ(d.table.cell(3, 0), "3");
    EXPECT_EQ(d.table.headerLayout(), "  |姓名|");
    EXPECT_EQ(d.table.cell(0, 0), "  ");
    EXPECT_EQ(status.texts, (std::vector<std::string>{"文件读取中...", "就绪"}));
    EXPECT_EQ(status.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_FALSE(d.modified());
}

TEST_F(DataFileCommands, ABarInsideATitleNeitherAddsAColumnNorMovesTheTitles) {
    // "|" separates the titles in the header layout string; a title written by another program may
    // still hold one. It must not split the title and shift every later title off its data.
    WriteBytes(dir.file("t.skv"), GbkLines({"KVL'S Scorvane数据文件", "T", "2", "3", "", "", "###.##", "  ",
                                            "语文|数学", "总分", "1", "85", "170"}));
    Document d;
    ASSERT_EQ(LoadData(d, dir.file("t"), true, prompter, status), LoadOutcome::Loaded);
    EXPECT_EQ(d.table.cols(), 3);
    EXPECT_EQ(d.table.fieldTitles(), (std::vector<std::string>{"语文｜数学", "总分"}));
    EXPECT_EQ(d.table.cell(1, 2), "170");
    EXPECT_EQ(d.table.headerLayout(), "  |语文｜数学|总分");
}

TEST_F(DataFileCommands, AnExtensionInAnotherCaseIsTheSameFile) {
    // A class folder lists "成绩.SKV" (copied from a system where case does not matter) as 成绩: it
    // must open, and saving must replace it rather than write a second file beside it.
    WriteBytes(dir.file("成绩.SKV"), SerializeDataFile(twoStudents()));
    Document d;
    ASSERT_EQ(LoadData(d, dir.file("成绩"), true, prompter, status), LoadOutcome::Loaded);
    EXPECT_EQ(d.table.cell(1, 1), "张三");
    d.table.setCell(1, 2, "99");
    prompter.answer(Answer::Yes);
    ASSERT_EQ(SaveData(d, false, dir.file("成绩"), prompter, status), SaveOutcome::Saved);
    EXPECT_EQ(prompter.questions(), std::vector<std::string>{"确实覆盖原有数据么？"});
    EXPECT_EQ(ReadBytes(dir.file("成绩.SKV")), SerializeDataFile(d.table));
    EXPECT_FALSE(FileExists(dir.file("成绩.skv")));
}

TEST_F(DataFileCommands, LoadOfMissingOrBadFiles) {
    Document d;
    d.table = twoStudents();
    EXPECT_EQ(LoadData(d, "   ", false, prompter, status), LoadOutcome::Closed);
    EXPECT_EQ(LoadData(d, dir.file("none"), true, prompter, status), LoadOutcome::Closed);
    EXPECT_TRUE(prompter.calls().empty());

    WriteBytes(dir.file("bad.skv"), "not a table\r\n");
    EXPECT_EQ(LoadData(d, dir.file("bad"), true, prompter, status), LoadOutcome::Refused);
    ASSERT_EQ(prompter.calls().size(), 1u);
    EXPECT_EQ(prompter.last().text, "文件格式不正确!");
    EXPECT_EQ(prompter.last().title, "提示");
    EXPECT_EQ(prompter.last().icon, Icon::Information);
    EXPECT_EQ(d.table.cellTexts(), twoStudents().cellTexts());
    EXPECT_EQ(status.texts.back(), "就绪");
}

TEST_F(DataFileCommands, SaveAsksBeforeOverwritingButNotForTheScratchFile) {
    Document d;
    d.table = twoStudents();
    d.setModified();
    std::string path = dir.file("班/表");
    ASSERT_EQ(SaveData(d, false, path, prompter, status), SaveOutcome::Saved);  // folder made on the way
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(ReadBytes(path + ".skv"), SerializeDataFile(d.table));
    EXPECT_EQ(status.texts, (std::vector<std::string>{"正在保存文件...", "就绪"}));
    EXPECT_TRUE(d.modified());  // saving leaves the flag set

    d.table.setCell(1, 2, "99");
    prompter.answer(Answer::No);
    EXPECT_EQ(SaveData(d, false, path, prompter, status), SaveOutcome::Declined);
    EXPECT_EQ(prompter.last().text, "确实覆盖原有数据么？");
    EXPECT_EQ(prompter.last().title, "提示：");
    EXPECT_EQ(prompter.last().buttons, Buttons::YesNo);
    EXPECT_EQ(DecodeGbk(ReadBytes(path + ".skv")).find("99"), std::string::npos);

    prompter.answer(Answer::Yes);
    EXPECT_EQ(SaveData(d, false, path, prompter, status), SaveOutcome::Saved);
    EXPECT_NE(DecodeGbk(ReadBytes(path + ".skv")).find("99"), std::string::npos);

    prompter.clear();
    ASSERT_EQ(SaveData(d, true, "窗口标题", prompter, status), SaveOutcome::Saved);
    ASSERT_EQ(SaveData(d, true, "窗口标题", prompter, status), SaveOutcome::Saved);
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_EQ(ReadBytes(ScratchPath() + ".skv"), SerializeDataFile(d.table));

    Document back;
    ASSERT_EQ(LoadData(back, "tmp", false, prompter, status), LoadOutcome::Loaded);
    EXPECT_EQ(back.table.cell(2, 2), "！公式：cell(?,1)");
}

TEST_F(DataFileCommands, FailedSaveSaysSoAndKeepsTheOldFile) {
    Document d;
    d.table = twoStudents();
    WriteBytes(dir.file("blocker"), "x");
    EXPECT_EQ(SaveData(d, false, dir.file("blocker/sub/t"), prompter, status), SaveOutcome::Failed);
    ASSERT_EQ(prompter.messages(), (std::vector<std::string>{"文件保存失败！"}));
    EXPECT_EQ(prompter.last().title, "错误");
    EXPECT_EQ(prompter.last().icon, Icon::Error);
    EXPECT_EQ(status.texts.back(), "就绪");

    // A read-only class folder: the overwrite question is answered Yes, nothing can be written, the
    // failure is said and the old file stays whole.
    WriteBytes(dir.file("ro/t.skv"), "old");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(dir.file("ro").c_str(), 0555);
    std::string target = dir.file("ro/t");
    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        ScriptedPrompter p;
        p.answer(Answer::Yes);
        return SaveData(d, false, target, p, status) == SaveOutcome::Failed && p.questions().size() == 1 &&
               p.messages() == std::vector<std::string>{"文件保存失败！"};
    }));
    EXPECT_EQ(ReadBytes(dir.file("ro/t.skv")), "old");
}

// Made in pieces the bytes are the same, and the caller hears between every two pieces of some 64 KB.
TEST(DataFile, SerialisedInPiecesTheBytesAreTheSame) {
    for (int rows : {1, 3000}) {
        GradeTable table(rows + 1, 12);
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c < 12; ++c) {
                table.setCell(r, c, "成绩" + std::to_string(r * c));
            }
        }
        int pauses = 0;
        const std::string bytes = SerializeDataFile(table, [&] { ++pauses; });
        EXPECT_EQ(bytes, SerializeDataFile(table));
        EXPECT_EQ(pauses, static_cast<int>(bytes.size() / (64 * 1024)));
    }
}

}  // namespace
}  // namespace scorvane
