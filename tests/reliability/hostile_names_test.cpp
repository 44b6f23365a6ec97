// Hostile names and places: names with spaces, quotes, leading dashes, line breaks and 200 Chinese
// characters; read-only folders and files; symbolic links; a folder or a pipe where a file is expected.
// Each gets the right message and nothing is lost.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/file_io.h"
#include "common/ini_store.h"
#include "main/document/data_file.h"
#include "main/document/field_commands.h"
#include "main/document/new_table.h"
#include "main/exchange/csv_import.h"
#include "main/exchange/dbf_reader.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/school_editor.h"
#include "main/workspace/school_info.h"
#include "main/workspace/utilities.h"
#include "support/run_program.h"
#include "support/sample_table.h"
#include "support/scoped_program_folder.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "support/write_faults.h"

namespace scorvane {
namespace {

namespace fs = std::filesystem;
using testing::FolderEntries;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;

const std::string kFailed(kSaveFailedMessage);

std::string Repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// 200 Chinese characters: 600 bytes, more than a file name may have.
const std::string kTwoHundred = Repeat("成", 200);

Document Sample() {
    return testing::SampleDocument({"姓名", "语文"}, {{"张三", "80"}, {"李四", "！公式：cell(?,2)+1"}});
}

SaveOutcome Save(Document& document, const std::string& path, ScriptedPrompter& prompter) {
    RecordingStatus status;
    return SaveData(document, false, path, prompter, status);
}

LoadOutcome Load(Document& document, const std::string& path, ScriptedPrompter& prompter) {
    RecordingStatus status;
    return LoadData(document, path, true, prompter, status);
}

TEST(HostileNames, TablesWithAwkwardNamesInAwkwardFoldersSaveAndOpen) {
    TempDir dir;
    const std::string folder = dir.file("带 空格/-减号开头/\"引号\"与'单引号'/换\n行/");
    for (const std::string name : {"带 空格 的 成绩", "引号'与\"双引号\"", "-以减号开头", "--",
                                   "换行\n在中间", "制表\t符", " 前后空格 ", "$(echo x);`y`", "*?[a]"}) {
        SCOPED_TRACE(name);
        Document saved = Sample();
        ScriptedPrompter prompter;
        ASSERT_EQ(Save(saved, folder + name, prompter), SaveOutcome::Saved);
        Document opened;
        ASSERT_EQ(Load(opened, folder + name, prompter), LoadOutcome::Loaded);
        EXPECT_EQ(opened.table.cellTexts(), saved.table.cellTexts());
        EXPECT_TRUE(prompter.calls().empty());
    }
    EXPECT_EQ(FolderEntries(folder).size(), 9u);  // nine tables, no temporary file
}

TEST(HostileNames, NamesTooLongForTheFileSystemAreRefusedWithAMessage) {
    TempDir dir;
    ScriptedPrompter prompter;
    // Typed names are refused where they are typed, and asked for again.
    prompter.type(kTwoHundred).type("短名");
    EXPECT_EQ(PromptNewTableName(prompter, NameWording::NewOnly, "新成绩表0"), "短名");
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kFileNameTooLongMessage)});
    EXPECT_TRUE(FitsFileSystemName(Repeat("成", 83), ".skv"));  // 253 bytes
    EXPECT_FALSE(FitsFileSystemName(Repeat("成", 84), ".skv"));

    prompter.clear();
    prompter.type(kTwoHundred).type(std::nullopt);
    EXPECT_FALSE(SaveFieldTemplate(Sample(), prompter, dir.path() + "/"));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kFileNameTooLongMessage)});

    SchoolEditor editor;
    editor.load(dir.path() + "/");
    prompter.clear();
    prompter.type("高一").type(kTwoHundred).type("(1)班");
    editor.addGrade(prompter);
    editor.addClass(prompter);
    EXPECT_EQ(editor.classNames(), std::vector<std::string>{"(1)班"});
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kNameTooLongMessage)});
    editor.setSchoolName(kTwoHundred);
    prompter.clear();
    EXPECT_FALSE(editor.confirm(prompter, dir.path() + "/"));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kNameTooLongMessage)});
    EXPECT_FALSE(FileExists(dir.file("SchoolInfo.ini")));

    // A name that comes some other way (a file dialog, a school file edited by hand) fails where the
    // file is made, with the system's message, and nothing else changes.
    Document document = Sample();
    prompter.clear();
    EXPECT_EQ(Save(document, dir.file(kTwoHundred), prompter), SaveOutcome::Failed);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{kFailed});
    EXPECT_EQ(Load(document, dir.file(kTwoHundred), prompter), LoadOutcome::Closed);
    testing::ScopedProgramFolder workspace(dir.path() + "/");
    EXPECT_FALSE(EnsureClassFolder("一中/高一/" + kTwoHundred));
    EXPECT_TRUE(PrepareClassTables("一中/高一/" + kTwoHundred).empty());
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"表格数据"});
}

TEST(HostilePlaces, ReadOnlyFoldersAndFilesKeepWhatTheyHold) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const std::string locked = dir.file("只读");
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(3, "旧"), locked + "/成绩"));
    ASSERT_TRUE(SaveSchoolInfo({"旧学校", {}}, locked + "/"));
    const std::string table = ReadBytes(locked + "/成绩.skv");
    const std::string school = ReadBytes(locked + "/SchoolInfo.ini");
    ::chmod(locked.c_str(), 0555);
    // A file its owner made read-only, in a folder anyone may write.
    const std::string open = dir.file("可写");
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(3, "旧"), open + "/只读表"));
    ::chmod(open.c_str(), 0777);
    ::chmod((open + "/只读表.skv").c_str(), 0444);

    EXPECT_TRUE(testing::RunWithoutPrivileges([&] {
        bool ok = true;
        for (const std::string& path : {locked + "/成绩", locked + "/新表", open + "/只读表"}) {
            Document document = Sample();
            ScriptedPrompter prompter;
            prompter.answer(Answer::Yes);  // replace the existing file
            ok = ok && Save(document, path, prompter) == SaveOutcome::Failed &&
                 prompter.messages() == std::vector<std::string>{kFailed};
        }
        SchoolEditor editor;
        editor.load(locked + "/");
        ScriptedPrompter prompter;
        ok = ok && editor.schoolName() == "旧学校" && !editor.confirm(prompter, locked + "/") &&
             prompter.messages() == std::vector<std::string>{kFailed};
        return ok;
    }));
    EXPECT_EQ(ReadBytes(locked + "/成绩.skv"), table);
    EXPECT_EQ(ReadBytes(locked + "/SchoolInfo.ini"), school);
    EXPECT_EQ(FolderEntries(locked), (std::vector<std::string>{"SchoolInfo.ini", "成绩.skv"}));
    EXPECT_EQ(FolderEntries(open), std::vector<std::string>{"只读表.skv"});
    ::chmod(locked.c_str(), 0755);
}

TEST(HostilePlaces, ASymbolicLinkIsWrittenThroughAndStaysALink) {
    TempDir dir;
    ASSERT_TRUE(MakeDirectories(dir.file("真实")));
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(3, "旧"), dir.file("真实/成绩")));
    // A relative link, and a link to that link.
    fs::create_symlink("真实/成绩.skv", dir.file("链接.skv"));
    fs::create_symlink("链接.skv", dir.file("再链接.skv"));
    for (const char* link : {"链接", "再链接"}) {
        Document document = Sample();
        document.table.title = link;
        ScriptedPrompter prompter;
        prompter.answer(Answer::Yes);
        ASSERT_EQ(Save(document, dir.file(link), prompter), SaveOutcome::Saved);
        EXPECT_TRUE(fs::is_symlink(dir.file(std::string(link) + ".skv")));
        Document opened;
        ASSERT_EQ(Load(opened, dir.file("真实/成绩"), prompter), LoadOutcome::Loaded);
        EXPECT_EQ(opened.table.title, link);
    }
    // A link whose file does not exist yet: the file is made where it points.
    fs::create_symlink("真实/新表.skv", dir.file("新链接.skv"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("新链接.skv"), "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("新链接.skv")));
    EXPECT_EQ(ReadBytes(dir.file("真实/新表.skv")), "new");
    // The school file and the INI store go the same way.
    fs::create_symlink("真实/学校.ini", dir.file("SchoolInfo.ini"));
    ASSERT_TRUE(SaveSchoolInfo({"一中", {}}, dir.path() + "/"));
    EXPECT_TRUE(fs::is_symlink(dir.file("SchoolInfo.ini")));
    EXPECT_EQ(LoadSchoolInfo(dir.path() + "/")->name, "一中");
    // A link to a folder is no file: the save fails and the folder is left alone.
    fs::create_symlink("真实", dir.file("到文件夹.skv"));
    Document document = Sample();
    ScriptedPrompter prompter;
    EXPECT_EQ(Save(document, dir.file("到文件夹"), prompter), SaveOutcome::Failed);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{kFailed});
    EXPECT_EQ(FolderEntries(dir.file("真实")),
              (std::vector<std::string>{"学校.ini", "成绩.skv", "新表.skv"}));
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{"SchoolInfo.ini", "再链接.skv", "到文件夹.skv", "新链接.skv", "真实",
                                        "链接.skv"}));
}

TEST(HostilePlaces, AFolderOrAPipeWhereAFileIsExpected) {
    TempDir dir;
    // A folder named like the table: saving fails with the message and leaves the folder whole.
    ASSERT_TRUE(MakeDirectories(dir.file("成绩.skv/里面")));
    Document document = Sample();
    ScriptedPrompter prompter;
    EXPECT_EQ(Save(document, dir.file("成绩"), prompter), SaveOutcome::Failed);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{kFailed});
    EXPECT_TRUE(DirectoryExists(dir.file("成绩.skv/里面")));
    EXPECT_EQ(Load(document, dir.file("成绩"), prompter), LoadOutcome::Closed);  // as a missing file

    // Files where the workspace's folders should be.
    testing::ScopedProgramFolder workspace(dir.path() + "/");
    WriteBytes(dir.file("表格模版"), "not a folder");
    WriteBytes(dir.file("表格数据"), "not a folder");
    prompter.clear();
    prompter.type("模版");
    EXPECT_FALSE(SaveFieldTemplate(Sample(), prompter));
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{kFailed});
    EXPECT_TRUE(TemplateMenuItems().empty());
    EXPECT_TRUE(PrepareClassTables("一中/高一/(1)班").empty());
    EXPECT_EQ(ReadBytes(dir.file("表格模版")), "not a folder");
    EXPECT_EQ(ReadBytes(dir.file("表格数据")), "not a folder");

    // A pipe with nobody writing to it: readers refuse it at once instead of waiting for ever.
    const std::string pipe = dir.file("管道.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_FALSE(ReadWholeFile(pipe).has_value());
    Document imported = Sample();
    prompter.clear();
    prompter.answer(Answer::Yes).chooseOpen(pipe);
    RecordingStatus status;
    EXPECT_EQ(menuImportCVS(imported, 2, prompter, status), CsvImportOutcome::Failed);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{std::string(kCsvReadFailedMessage)});
    GradeTable grid;
    EXPECT_EQ(ReadDbfFile(pipe, grid), DbfError::CannotOpen);
    IniStore ini;
    EXPECT_FALSE(ini.load(pipe));
}

TEST(HostileNames, CommandLineTakesNamesThatBeginWithADash) {
    TempDir dir;
    ASSERT_TRUE(WriteDataFile(testing::MakeClass(3, "甲"), dir.file("-甲")));
    const std::string source = dir.file("-甲.skv");
    // Without "--" the name reads as an option: refused, nothing written.
    testing::ProgramResult r = testing::RunCli({"copy", "-甲.skv", "-o", dir.file("乙.skv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("未知的选项：-甲.skv"), std::string::npos);
    // After "--" it is a file; an output name beginning with "-" is the value of -o. (Names relative to
    // the working folder, as a user types them.)
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    r = testing::RunCli({"copy", "-o", "-乙 带空格\n换行.skv", "--", "-甲.skv"});
    testing::ProgramResult info = testing::RunCli({"info", "--", "-甲.skv"});
    fs::current_path(before);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadBytes(dir.file("-乙 带空格\n换行.skv")), ReadBytes(source));
    EXPECT_EQ(info.exitCode, 0) << info.err;
}

}  // namespace
}  // namespace scorvane
