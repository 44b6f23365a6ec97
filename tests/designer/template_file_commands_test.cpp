// New, open, save and save as with their questions; the changed flag; closing.
#include "designer/template_file_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/file_io.h"
#include "common/text_codec.h"
#include "designer/line_editing.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace scorvane::designer {
namespace {

using testing::GbkLines;
using testing::ReadBytes;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

class TemplateFiles : public ::testing::Test {
  protected:
    // The documented example: two lines and two labels, portrait.
    std::string example() {
        const std::string path = dir.file("成绩单.rvx");
        WriteBytes(
            path, GbkLines({";KVL'S Scorvane报表模板文件", ";(notice)", "[Information]", "LinesNum=1",
                            "LabelsNum=1", "Page=-1", "[Lines]", "0=9000,1500,1000,1500,1",
                            "1=1000,1500,1000,4500,2", "[Labels]", "0=成绩通知单 600 3500 宋体 -1 0 16 0 0 0",
                            "1=！引用数据 1700 1200 宋体 0 0 10 0 0 255"}));
        return path;
    }
    // A document with one drawn line, unsaved.
    static TemplateDocument edited() {
        TemplateDocument doc;
        doc.lines.append("1,2,3,4,1", LineStore::DrawnName(0));
        doc.lines.selectLast();
        doc.markChanged();
        return doc;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    testing::RecordingStatus status;
};

TEST_F(TemplateFiles, OpenReadsLinesAndLabelsWithTheirNamesAndSelectsTheLastOnes) {
    TemplateDocument doc = edited();
    doc.labels.prototype().fontSize = 12;
    prompter.answer(Answer::Yes).chooseOpen(example());
    ASSERT_TRUE(OpenTemplate(doc, prompter, status));
    EXPECT_EQ(prompter.questions(), Strings{std::string(kOpenQuestion)});
    EXPECT_EQ(prompter.calls()[0].title, "提示");
    EXPECT_EQ(prompter.calls()[0].icon, Icon::Question);
    EXPECT_EQ(prompter.calls()[1].filter, "KVL'S 报表文档 (*.rvx)");
    EXPECT_TRUE(doc.landscape);
    EXPECT_EQ(doc.lines.records(), (Strings{"9000,1500,1000,1500,1", "1000,1500,1000,4500,2"}));
    EXPECT_EQ(doc.lines.names(), (Strings{"表格线段  0", "表格线段  1"}));
    EXPECT_EQ(doc.labels.names(), (Strings{"文字标签  0", "文字标签  1"}));
    EXPECT_EQ(doc.labels.label(1).caption, "！引用数据");
    EXPECT_EQ(doc.labels.label(1).foreColor, 255u);
    EXPECT_TRUE(doc.labels.label(0).fontBold);
    EXPECT_EQ(doc.lines.selected(), 1);
    EXPECT_EQ(doc.labels.selected(), 1);
    EXPECT_EQ(doc.labels.prototype().fontSize, 12);  // the prototype stays
    EXPECT_EQ(doc.fileName, dir.file("成绩单.rvx"));
    EXPECT_FALSE(doc.changed);
}

TEST_F(TemplateFiles, NoOrACancelledDialogLeavesEverythingAsItWas) {
    TemplateDocument doc = edited();
    doc.fileName = "/somewhere/old.rvx";
    prompter.answer(Answer::No);
    EXPECT_FALSE(OpenTemplate(doc, prompter, status));
    prompter.answer(Answer::Yes).chooseOpen("");
    EXPECT_FALSE(OpenTemplate(doc, prompter, status));
    prompter.answer(Answer::No);
    EXPECT_FALSE(NewTemplate(doc, prompter));
    EXPECT_TRUE(prompter.exhausted());
    EXPECT_EQ(prompter.questions(),
              (Strings{std::string(kOpenQuestion), std::string(kOpenQuestion), std::string(kNewQuestion)}));
    // Enter and Escape give up nothing: 否 is the default of every question that would.
    for (const ScriptedPrompter::Call& call : prompter.calls()) {
        if (call.kind == ScriptedPrompter::Call::Ask) {
            EXPECT_EQ(call.defaultAnswer, Answer::No) << call.text;
            EXPECT_EQ(call.buttons, Buttons::YesNo) << call.text;
        }
    }
    EXPECT_EQ(doc.lines.records(), Strings{"1,2,3,4,1"});
    EXPECT_EQ(doc.fileName, "/somewhere/old.rvx");
    EXPECT_TRUE(doc.changed);
}

TEST_F(TemplateFiles, FilesThatAreNotTemplatesChangeNothing) {
    TemplateDocument doc = edited();
    const std::string text = dir.file("notes.rvx");
    WriteBytes(text, GbkLines({"一些文字", "[Other]", "0=1,2,3,4,1"}));
    prompter.chooseOpen(text).chooseOpen(dir.file("missing.rvx")).chooseOpen(dir.path());
    doc.changed = false;  // no question: the dialog comes at once
    EXPECT_FALSE(OpenTemplate(doc, prompter, status));
    EXPECT_FALSE(OpenTemplate(doc, prompter, status));
    EXPECT_FALSE(OpenTemplate(doc, prompter, status));
    EXPECT_EQ(prompter.messages(), (Strings{std::string(kFormatMessage), std::string(kReadFailedMessage),
                                            std::string(kReadFailedMessage)}));
    EXPECT_EQ(doc.lines.records(), Strings{"1,2,3,4,1"});
    EXPECT_TRUE(doc.fileName.empty());
}

TEST_F(TemplateFiles, RecordsThatDoNotParseArePassedOverAsReportPrintingPassesThemOverAndTheStatusSaysSo) {
    const std::string path = dir.file("bad.rvx");
    WriteBytes(path, GbkLines({"[Information]", "LinesNum=2", "LabelsNum=1", "[Lines]", "0=1,2,3,4,1",
                               "1=oops", "2=5,6,7,8,1", "[Labels]", "0=甲 100 200 宋体 x 0 9 0 0 0",
                               "1=乙 300 400 黑体 0 0 12 0 0 0"}));
    TemplateDocument doc;
    ASSERT_TRUE(OpenTemplateFile(doc, path, prompter, status));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(status.texts, Strings{"模板中有 2 条记录格式不正确，已略过。"});
    EXPECT_EQ(doc.lines.records(), (Strings{"1,2,3,4,1", "5,6,7,8,1"}));
    ASSERT_EQ(doc.labels.size(), 1u);
    EXPECT_EQ(doc.labels.label(0).caption, "乙");
    EXPECT_FALSE(doc.changed);
}

TEST_F(TemplateFiles, NewForgetsTheFileAndKeepsOrientationAndPrototype) {
    TemplateDocument doc;
    ASSERT_TRUE(OpenTemplateFile(doc, example(), prompter, status));
    doc.labels.prototype().foreColor = 255;
    doc.markChanged();
    prompter.answer(Answer::Yes);
    ASSERT_TRUE(NewTemplate(doc, prompter));
    EXPECT_TRUE(doc.lines.empty());
    EXPECT_TRUE(doc.labels.empty());
    EXPECT_TRUE(doc.lines.names().empty());
    EXPECT_EQ(doc.lines.selected(), -1);
    EXPECT_TRUE(doc.landscape);
    EXPECT_EQ(doc.labels.prototype().foreColor, 255u);
    EXPECT_TRUE(doc.fileName.empty());
    EXPECT_FALSE(doc.changed);
    // A new template without changes asks nothing.
    EXPECT_TRUE(NewTemplate(doc, prompter));
    EXPECT_EQ(prompter.questions().size(), 1u);
}

TEST_F(TemplateFiles, SaveOnANewTemplateIsSaveAsAndACancelKeepsTheFlag) {
    TemplateDocument doc = edited();
    prompter.chooseSave("");
    EXPECT_FALSE(SaveTemplate(doc, prompter));
    EXPECT_EQ(prompter.last().kind, ScriptedPrompter::Call::SaveFile);
    EXPECT_EQ(prompter.last().filter, "KVL'S 报表文档 (*.rvx)");
    EXPECT_TRUE(doc.changed);
    prompter.answer(Answer::No);
    EXPECT_FALSE(MayCloseTemplate(doc, prompter));
    EXPECT_EQ(prompter.questions(), Strings{std::string(kCloseQuestion)});
    EXPECT_EQ(prompter.last().defaultAnswer, Answer::No);  // Enter does not throw the template away
    EXPECT_EQ(prompter.last().title, "提示");
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(MayCloseTemplate(doc, prompter));

    // A name typed without ".rvx" gets it, and the completed name becomes the file name.
    const std::string plain = dir.file("成绩单");
    prompter.chooseSave(plain);
    ASSERT_TRUE(SaveTemplate(doc, prompter));
    EXPECT_TRUE(FileExists(plain + ".rvx"));
    EXPECT_FALSE(FileExists(plain));
    EXPECT_EQ(doc.fileName, plain + ".rvx");
    EXPECT_FALSE(doc.changed);
    EXPECT_TRUE(MayCloseTemplate(doc, prompter));  // nothing to ask

    // The written file reads back as the same template.
    TemplateDocument back;
    ASSERT_TRUE(OpenTemplateFile(back, plain + ".rvx", prompter, status));
    EXPECT_EQ(back.lines.records(), Strings{"1,2,3,4,1"});
    EXPECT_EQ(DecodeGbk(ReadBytes(plain + ".rvx")).rfind(";KVL'S Scorvane报表模板文件\r\n", 0), 0u);
}

TEST_F(TemplateFiles, SaveAsAddsTheExtensionToABareNameAndAsksBeforeReplacing) {
    WriteBytes(dir.file("旧.rvx"), "old");
    struct Case {
        std::string typed, written;
        std::vector<Answer> answers;  // to the overwrite question
        bool saved;
    };
    const std::vector<Case> cases = {
        {"t1", "t1.rvx", {}, true},
        {"t2.RVX", "t2.RVX", {}, true},
        {"t3.txt", "t3.txt", {}, true},
        {"v1.2/t4", "v1.2/t4.rvx", {}, true},
        {"旧", "旧.rvx", {Answer::No}, false},
        {"旧", "旧.rvx", {Answer::Yes}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(MakeDirectories(dir.file("v1.2")));
        TemplateDocument doc = edited();
        ScriptedPrompter p;
        p.chooseSave(dir.file(c.typed));
        for (Answer a : c.answers) {
            p.answer(a);
        }
        EXPECT_EQ(SaveTemplateAs(doc, p), c.saved);
        EXPECT_EQ(p.questions().size(), c.answers.size());
        EXPECT_EQ(ReadBytes(dir.file(c.written)) != "old", c.saved);
        EXPECT_EQ(doc.fileName, c.saved ? dir.file(c.written) : "");
    }
}

TEST_F(TemplateFiles, SaveWritesTheCurrentFileAtOnceAndSaveAsAlwaysAsks) {
    TemplateDocument doc;
    const std::string path = example();
    ASSERT_TRUE(OpenTemplateFile(doc, path, prompter, status));
    ASSERT_TRUE(CopyLastLine(doc));
    ASSERT_TRUE(SaveTemplate(doc, prompter));
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_NE(DecodeGbk(ReadBytes(path)).find("LinesNum=2\r\n"), std::string::npos);
    EXPECT_NE(DecodeGbk(ReadBytes(path)).find("Page=-1\r\n"), std::string::npos);
    EXPECT_FALSE(doc.changed);

    const std::string other = dir.file("sub/另一个.rvx");
    prompter.chooseSave(other);
    ASSERT_TRUE(SaveTemplateAs(doc, prompter));
    EXPECT_EQ(doc.fileName, other);
    EXPECT_EQ(ReadBytes(other), ReadBytes(path));
}

TEST_F(TemplateFiles, AFailedSaveSaysSoAndKeepsTheFlagAndTheOldFile) {
    const std::string path = example();
    const std::string before = ReadBytes(path);
    // A folder nobody may write into: the temporary file cannot be made.
    ::chmod(dir.path().c_str(), 0555);
    const bool checked = testing::RunWithoutPrivileges([&] {
        TemplateDocument doc;
        ScriptedPrompter p;
        if (!OpenTemplateFile(doc, path, p, status)) {
            return false;
        }
        CopyLastLine(doc);
        const bool saved = SaveTemplate(doc, p);
        return !saved && doc.changed && doc.fileName == path &&
               p.messages() == Strings{std::string(kSaveFailedMessage)} && p.calls()[0].title == "错误" &&
               p.calls()[0].icon == Icon::Error;
    });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_TRUE(checked);
    EXPECT_EQ(ReadBytes(path), before);
}

}  // namespace
}  // namespace scorvane::designer
