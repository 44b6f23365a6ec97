#include "main/exchange/dbf_converter.h"

#include <gtest/gtest.h>

#include "common/line_reader.h"
#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::DbfBuilder;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

std::string StudentList() {
    DbfBuilder b;
    b.fields = {{"XH", 'C', 4}, {"XM", 'C', 8}};
    b.records = {{{"01", EncodeGbk("张三")}}, {{"02", EncodeGbk("李四")}}};
    return b.bytes();
}

Values FileLines(const std::string& path) {
    Values out;
    const std::string text = DecodeGbk(ReadBytes(path));
    for (std::string_view l : SplitLines(text)) {
        out.emplace_back(l);
    }
    return out;
}

TEST(DbfConverter, ReadsThenSavesTheGridAsADataFile) {
    TempDir dir;
    WriteBytes(dir.file("list.dbf"), StudentList());
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;
    EXPECT_EQ(converter.save({}, p, status), ConverterSaveOutcome::NothingRead);  // button not usable yet
    EXPECT_TRUE(p.calls().empty());

    p.chooseOpen(dir.file("list.dbf")).chooseSave(dir.file("class.skv"));
    ASSERT_TRUE(converter.open(p, status));
    EXPECT_EQ(p.calls()[0].text, "*.dbf");
    EXPECT_EQ(p.calls()[0].title, "打开FoxPro 2.5数据库文件");
    EXPECT_EQ(converter.path(), dir.file("list.dbf"));
    EXPECT_TRUE(converter.canSave());

    EXPECT_EQ(converter.save({"高一(1)班", "王老师", "第一行\n第二行"}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_TRUE(p.exhausted());
    EXPECT_EQ(FileLines(dir.file("class.skv")),
              (Values{"KVL'S Scorvane数据文件", "高一(1)班", "3", "3", "王老师", "第一行[/]第二行", "###.##",
                      "  ", "XH", "XM", "1", "01", "张三", "2", "02", "李四"}));
    EXPECT_EQ(status.texts, (Values{"文件读取中...", "就绪", "正在保存文件...", "就绪"}));
}

TEST(DbfConverter, AsksBeforeOverwritingAndKeepsTheOldFileOnNo) {
    TempDir dir;
    WriteBytes(dir.file("list.dbf"), StudentList());
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;
    ASSERT_TRUE(converter.read(dir.file("list.dbf"), p, status));
    ASSERT_EQ(SaveConvertedData(converter.grid(), dir.file("c"), {"第一次", "", ""}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_TRUE(p.calls().empty());

    p.answer(Answer::No);
    EXPECT_EQ(SaveConvertedData(converter.grid(), dir.file("c"), {"第二次", "", ""}, p, status),
              ConverterSaveOutcome::Declined);
    EXPECT_EQ(p.questions(), Values{"确实覆盖原有数据么？"});
    EXPECT_EQ(p.last().title, "提示：");
    EXPECT_EQ(FileLines(dir.file("c.skv"))[1], "第一次");

    p.answer(Answer::Yes);
    EXPECT_EQ(SaveConvertedData(converter.grid(), dir.file("c"), {"第二次", "", ""}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_EQ(FileLines(dir.file("c.skv"))[1], "第二次");

    ScriptedPrompter cancel;
    cancel.chooseSave("");
    EXPECT_EQ(converter.save({}, cancel, status), ConverterSaveOutcome::Cancelled);
}

TEST(DbfConverter, FailedReadShowsTheNumberAndChangesNothing) {
    TempDir dir;
    WriteBytes(dir.file("list.dbf"), StudentList());
    const std::string whole = StudentList();
    WriteBytes(dir.file("cut.dbf"), whole.substr(0, whole.size() - 5));
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;

    EXPECT_FALSE(converter.read(dir.file("cut.dbf"), p, status));
    ASSERT_EQ(p.calls().size(), 1u);
    EXPECT_EQ(p.last().text, "数据库读取发生错误。错误代码：\n4");
    EXPECT_EQ(p.last().title, "错误");
    EXPECT_EQ(p.last().icon, Icon::Error);
    EXPECT_FALSE(converter.canSave());

    ASSERT_TRUE(converter.read(dir.file("list.dbf"), p, status));
    const Values cells = converter.grid().cells();
    EXPECT_FALSE(converter.read(dir.file("nothing.dbf"), p, status));
    EXPECT_EQ(p.messages().back(), "数据库读取发生错误。错误代码：\n1");
    EXPECT_EQ(converter.grid().cells(), cells);
    EXPECT_TRUE(converter.canSave());

    ScriptedPrompter cancel;
    cancel.chooseOpen("");
    EXPECT_FALSE(converter.open(cancel, status));
    EXPECT_TRUE(cancel.messages().empty());
}

}  // namespace
}  // namespace scorvane
