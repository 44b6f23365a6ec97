#include "main/exchange/dbf_converter.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "main/exchange/dbf_builder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::DbfBuilder;
using testing::GbkLines;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Values = std::vector<std::string>;

std::string StudentList() {
    return testing::DbfBuilder{
        0x03, {{"XH", 'C', 4}, {"XM", 'C', 8}}, {{{"01", EncodeGbk("张三")}}, {{"02", EncodeGbk("李四")}}}}
        .bytes();
}

TEST(DbfConverter, ReadsThenSavesAskingBeforeOverwriting) {
    TempDir dir;
    WriteBytes(dir.file("list.dbf"), StudentList());
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;
    EXPECT_EQ(converter.save({}, p, status), ConverterSaveOutcome::NothingRead);  // button not usable yet

    p.chooseOpen(dir.file("list.dbf")).chooseSave(dir.file("class.skv"));
    ASSERT_TRUE(converter.open(p, status));
    EXPECT_EQ(p.calls()[0].text, "*.dbf");
    EXPECT_EQ(p.calls()[0].title, "打开FoxPro 2.5数据库文件");
    EXPECT_EQ(converter.save({"高一(1)班", "王老师", "第一行\n第二行"}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_EQ(p.calls().size(), 2u);  // no question: the file was new
    EXPECT_EQ(ReadBytes(dir.file("class.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "高一(1)班", "3", "3", "王老师", "第一行[/]第二行",
                        "###.##", "  ", "XH", "XM", "1", "01", "张三", "2", "02", "李四"}));
    EXPECT_EQ(status.texts, (Values{"文件读取中...", "就绪", "正在保存文件...", "就绪"}));

    // Saving again to the same name asks; No keeps the first file, Yes replaces it.
    const std::string first = ReadBytes(dir.file("class.skv"));
    p.chooseSave(dir.file("class.skv")).answer(Answer::No);
    EXPECT_EQ(converter.save({"第二次", "", ""}, p, status), ConverterSaveOutcome::Declined);
    EXPECT_EQ(p.questions(), Values{"确实覆盖原有数据么？"});
    EXPECT_EQ(p.last().title, "提示：");
    EXPECT_EQ(ReadBytes(dir.file("class.skv")), first);
    p.answer(Answer::Yes);
    EXPECT_EQ(SaveConvertedData(converter.grid(), dir.file("class"), {"第二次", "", ""}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_NE(ReadBytes(dir.file("class.skv")).find(EncodeGbk("第二次")), std::string::npos);
    EXPECT_TRUE(p.exhausted());
}

TEST(DbfConverter, WhatCannotBeReadIsNamedOnceAndTheRestConverted) {
    TempDir dir;
    DbfBuilder b{0xF5, {{"XM", 'C', 4}, {"PY", 'M', 10}, {"PHOTO", 'G', 10}, {"DOC", 'P', 10}}, {}};
    b.records = {{{"a", "1", "1", "1"}}};
    WriteBytes(dir.file("T.DBF"), b.bytes());
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;
    ASSERT_TRUE(converter.read(dir.file("T.DBF"), p, status));
    EXPECT_EQ(p.messages(), Values{"找不到备注文件：T.FPT，备注字段的内容留空。\n"
                                   "字段“PHOTO”的类型（G）无法转换，该字段的内容留空。\n"
                                   "字段“DOC”的类型（P）无法转换，该字段的内容留空。"});
    EXPECT_EQ(p.last().title, "提示");
    EXPECT_EQ(converter.grid().cellTexts(), (Values{"  ", "XM", "PY", "PHOTO", "DOC", "1", "a", "", "", ""}));
    EXPECT_TRUE(converter.canSave());
}

TEST(DbfConverter, ACharacterThatGbkCannotHoldIsSavedAsAQuestionMarkAndCounted) {
    TempDir dir;
    // A damaged byte, a character beyond GBK (in its four-byte GB18030 form), and one in the typed title.
    const std::string bytes = DbfBuilder{
        0x03,
        {{"XM", 'C', 8}},
        {{{EncodeGbk("张") + "\xFF" + EncodeGbk("三")}},
         {{"\x94\x39\xFC\x36ok"}},
         {{EncodeGbk("李四")}}}}.bytes();
    WriteBytes(dir.file("t.dbf"), bytes);
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;
    ASSERT_TRUE(converter.read(dir.file("t.dbf"), p, status));
    EXPECT_EQ(converter.grid().cell(1, 1), "张\uFFFD三");
    p.chooseSave(dir.file("t.skv"));
    EXPECT_EQ(converter.save({"表\xE2\x82\xAC\xF0\xA0\x80\x80", "", ""}, p, status),
              ConverterSaveOutcome::Saved);
    EXPECT_EQ(p.messages(), Values{"文件已保存。其中有 3 个字符无法用GBK编码保存，已替换为“?”。"});
    EXPECT_EQ(ReadBytes(dir.file("t.skv")),
              GbkLines({"KVL'S Scorvane数据文件", "表€?", "4", "2", "", "", "###.##", "  ", "XM", "1",
                        "张?三", "2", "?ok", "3", "李四"}));
    EXPECT_EQ(converter.grid().cell(1, 1), "张\uFFFD三");  // the grid shows what was read
}

TEST(DbfConverter, FailedReadShowsTheNumberAndChangesNothing) {
    TempDir dir;
    WriteBytes(dir.file("list.dbf"), StudentList());
    WriteBytes(dir.file("cut.dbf"), StudentList().substr(0, 100));
    DbfConverter converter;
    ScriptedPrompter p;
    RecordingStatus status;

    EXPECT_FALSE(converter.read(dir.file("cut.dbf"), p, status));
    EXPECT_EQ(p.last().text, "数据库读取发生错误。错误代码：\n4");
    EXPECT_EQ(p.last().title, "错误");
    EXPECT_EQ(p.last().icon, Icon::Error);
    EXPECT_FALSE(converter.canSave());

    ASSERT_TRUE(converter.read(dir.file("list.dbf"), p, status));
    const Values cells = converter.grid().cellTexts();
    EXPECT_FALSE(converter.read(dir.file("nothing.dbf"), p, status));
    EXPECT_EQ(p.messages(),
              (Values{"数据库读取发生错误。错误代码：\n4", "数据库读取发生错误。错误代码：\n1"}));
    EXPECT_EQ(converter.grid().cellTexts(), cells);
    EXPECT_TRUE(converter.canSave());
}

}  // namespace
}  // namespace scorvane
