// Every export over a file that another program has open (a live lock beside it) names the file and its
// holder instead of asking the routine question, or of asking nothing.
#include <gtest/gtest.h>

#include <functional>

#include "common/file_lock.h"
#include "common/file_sharing.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/dbf_converter.h"
#include "main/exchange/partial_export.h"
#include "main/workbook/workbook_export_command.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::ScriptedPrompter;
using testing::WriteBytes;
using Strings = std::vector<std::string>;

TEST(ExportsOverOpenFiles, AskWhoHasTheFileOpenAndWriteOnlyAfterOverwrite) {
    testing::TempDir dir;
    const GradeTable table = testing::MakeTable({"姓名", "语文"}, {{"张三", "90"}}, "期中考试");
    testing::RecordingStatus status;
    struct Export {
        const char* name;
        std::string file;
        // Runs the export to `file` (chosen in its dialog); true when it wrote.
        std::function<bool(ScriptedPrompter&)> run;
        std::vector<Answer> after;  // answers to what the export asks once written
    } exports[] = {
        {"csv",
         dir.file("期中.csv"),
         [&](ScriptedPrompter& p) {
             return menuSaveCVS(table, nullptr, p, status) == CsvExportOutcome::Saved;
         },
         {}},
        {"partial",
         dir.file("部分.skv"),
         [&](ScriptedPrompter& p) {
             return ExportPartialTable(table, {1}, {1, 2}, p, status).outcome == PartialExportOutcome::Saved;
         },
         {Answer::No}},
        {"dbf",
         dir.file("转换.skv"),
         [&](ScriptedPrompter& p) {
             return SaveConvertedData(table, dir.file("转换"), {"期中", "", ""}, p, status) ==
                    ConverterSaveOutcome::Saved;
         },
         {}},
        {"workbook",
         dir.file("期中.xlsx"),
         [&](ScriptedPrompter& p) {
             return ExportWorkbookCommand(table, p, status) == WorkbookExportOutcome::Written;
         },
         {}},
    };
    const std::string held =
        "正由 王老师（办公室-2）于 2024-09-02 08:05 打开。\n\n覆盖后，对方的修改将无法保存到这个文件。";
    for (const Export& e : exports) {
        WriteBytes(e.file, "old");
        WriteBytes(LockFilePath(e.file), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00");
        const std::string name = e.file.substr(e.file.rfind('/') + 1);
        for (Answer answer : {Answer::Cancel, kOverwrite}) {
            ScriptedPrompter p;
            if (std::string(e.name) != "dbf") {
                p.chooseSave(e.file);
            }
            p.answer(answer);
            if (answer == kOverwrite) {
                for (Answer a : e.after) {
                    p.answer(a);
                }
            }
            EXPECT_EQ(e.run(p), answer == kOverwrite) << e.name;
            ASSERT_FALSE(p.questions().empty()) << e.name;
            EXPECT_EQ(p.questions()[0], "文件“" + name + "”" + held) << e.name;
            // Nothing else before writing: no routine question after 覆盖.
            EXPECT_EQ(p.questions().size(), answer == kOverwrite ? 1 + e.after.size() : 1u) << e.name;
            EXPECT_EQ(ReadBytes(e.file) == "old", answer != kOverwrite) << e.name;
            EXPECT_TRUE(p.exhausted()) << e.name;
        }
        EXPECT_EQ(ReadBytes(LockFilePath(e.file)), "王老师,办公室-2,7,2024-09-02T08:05:09+08:00");
    }
}

}  // namespace
}  // namespace scorvane
