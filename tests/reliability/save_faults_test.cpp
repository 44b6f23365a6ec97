// Every save of the system, with each step of the atomic write failing in turn: the old file stays
// byte for byte, no temporary file is left beside it, the user is told, and nothing reports success.

#include <gtest/gtest.h>

#include <functional>

#include "common/file_io.h"
#include "common/qt/print_path.h"
#include "common/qt/qt_surface.h"
#include "designer/bitmap_export.h"
#include "designer/template_file_commands.h"
#include "main/document/cell_value.h"
#include "main/document/data_file.h"
#include "main/document/field_commands.h"
#include "main/exchange/csv_export.h"
#include "main/exchange/dbf_converter.h"
#include "main/exchange/partial_export.h"
#include "main/workspace/school_editor.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/sample_table.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"

namespace scorvane {
namespace {

using testing::FolderEntries;
using testing::ReadBytes;
using testing::RecordingStatus;
using testing::ScopedShortWrites;
using testing::ScopedWriteFault;
using testing::ScriptedPrompter;
using testing::TempDir;
using testing::WriteBytes;
using testing::WriteFault;

const std::string kFailed(kSaveFailedMessage);

// One save path: the file it writes in `folder`, and the save itself as a user runs it (with the
// dialog answers it needs); `save` returns whether the path reported success.
struct SavePath {
    const char* name;
    const char* file;
    std::function<bool(const std::string& folder, ScriptedPrompter& prompter)> save;
    // The message a failure shows; empty where the path reports to its caller (whose window says it).
    std::string failureMessage = kFailed;
    std::string failureTitle = "错误";
};

Document SampleTable() {
    return testing::SampleDocument({"姓名", "语文", "总分"},
                                   {{"张三", "80", "！公式：cell(?,2)*2"}, {"李四", "90", ""}});
}

std::vector<SavePath> SavePaths() {
    return {
        {"data file", "成绩.skv",
         [](const std::string& folder, ScriptedPrompter& p) {
             RecordingStatus status;
             Document d = SampleTable();
             p.answer(Answer::Yes);  // replace the existing file
             return SaveData(d, false, folder + "/成绩", p, status) == SaveOutcome::Saved;
         }},
        {"partial export", "导出.skv",
         [](const std::string& folder, ScriptedPrompter& p) {
             RecordingStatus status;
             p.chooseSave(folder + "/导出.skv").answer(Answer::No);  // then: not open it now
             PartialExportResult r = ExportPartialTable(SampleTable().table, {1, 2}, {1, 3}, p, status);
             return r.outcome == PartialExportOutcome::Saved;
         }},
        {"school file", "SchoolInfo.ini",
         [](const std::string& folder, ScriptedPrompter& p) {
             SchoolEditor editor;
             editor.load(folder + "/");
             editor.setSchoolName("新的学校");
             return editor.confirm(p, folder + "/");
         }},
        {"field template", "模版.templet",
         [](const std::string& folder, ScriptedPrompter& p) {
             p.type("模版");
             return SaveFieldTemplate(SampleTable(), p, folder + "/");
         }},
        {"comma-separated export", "成绩.csv",
         [](const std::string& folder, ScriptedPrompter& p) {
             RecordingStatus status;
             p.chooseSave(folder + "/成绩.csv");
             const Document d = SampleTable();
             return menuSaveCVS(d.table, FormulaValues(d.table), p, status) == CsvExportOutcome::Saved;
         }},
        {"FoxPro conversion", "转换.skv",
         [](const std::string& folder, ScriptedPrompter& p) {
             RecordingStatus status;
             p.answer(Answer::Yes);
             return SaveConvertedData(SampleTable().table, folder + "/转换", {"标题", "教师", "班级"}, p,
                                      status) == ConverterSaveOutcome::Saved;
         }},
        {"report template (the designer's save)", "卡片.rvx",
         [](const std::string& folder, ScriptedPrompter& p) {
             designer::TemplateDocument doc;
             doc.lines.append("1000,1500,9000,1500,1", designer::LineStore::DrawnName(0));
             doc.markChanged();
             doc.fileName = folder + "/卡片.rvx";
             const bool saved = designer::SaveTemplate(doc, p);
             EXPECT_EQ(doc.changed, !saved);  // a failed save leaves the template unsaved
             return saved;
         }},
        {"designer's bitmap export", "页面.bmp",
         [](const std::string& folder, ScriptedPrompter& p) {
             testing::EnsureQtApplication();
             designer::TemplateDocument doc;
             doc.lines.append("1000,1500,9000,1500,1", designer::LineStore::DrawnName(0));
             p.chooseSave(folder + "/页面.bmp");
             return designer::ExportBitmap(
                 doc, Rgb(255, 255, 255),
                 [](double w, double h) -> std::unique_ptr<DrawingSurface> {
                     return QtSurface::ForImage(w, h, 24);  // a small picture keeps the test quick
                 },
                 p);
         }},
        {"chart bitmap", "图表.bmp",
         [](const std::string& folder, ScriptedPrompter&) {
             testing::EnsureQtApplication();
             auto picture = QtSurface::ForImage(7500, 4800);
             picture->drawLine(100, 100, 4000, 3000, kBlack);
             return picture->saveImage(folder + "/图表.bmp");
         },
         ""},
        {"printing into a PDF file (no printer installed)", "成绩表.pdf",
         [](const std::string& folder, ScriptedPrompter& p) {
             testing::EnsureQtApplication();
             testing::ScriptedDialogs dialogs;
             RecordingStatus status;
             PrintPath path(p, dialogs, status, nullptr);
             path.setPrintersInstalled([] { return false; });
             p.chooseSave(folder + "/成绩表");  // ".pdf" is added
             const PrintJob job{"成绩表", [](DrawingSurface& s) {
                                    s.printText("第1页");
                                    s.newPage();
                                    s.printText("第2页");
                                }};
             return path.print(job) == PrintOutcome::Printed;
         },
         std::string(kPrintErrorMessage), std::string(kPrintErrorTitle)},
        {"PDF output", "打印.pdf",
         [](const std::string& folder, ScriptedPrompter&) {
             testing::EnsureQtApplication();
             auto pdf = QtSurface::ForPdfFile(folder + "/打印.pdf");
             pdf->drawTextAt(1440, 1440, "成绩表");
             return pdf->endJob();
         },
         ""},
    };
}

TEST(SaveFaults, EveryStepOfEverySaveFailsWithoutLosingTheOldFile) {
    for (const SavePath& path : SavePaths()) {
        for (WriteFault fault : testing::kAllWriteFaults) {
            SCOPED_TRACE(std::string(path.name) + ": " + std::string(testing::WriteFaultName(fault)));
            TempDir dir;
            const std::string target = dir.file(path.file);
            const std::string old = "the old file, which must survive\r\n";
            WriteBytes(target, old);
            const std::vector<std::string> before = FolderEntries(dir.path());
            ScriptedPrompter prompter;
            bool reported;
            int failures;
            {
                ScopedWriteFault injected(fault);
                reported = path.save(dir.path(), prompter);
                failures = injected.failures();
            }
            EXPECT_FALSE(reported);
            EXPECT_GE(failures, 1);  // the save really reached the failing step
            EXPECT_EQ(ReadBytes(target), old);
            EXPECT_EQ(FolderEntries(dir.path()), before);  // no temporary file left
            if (!path.failureMessage.empty()) {
                EXPECT_EQ(prompter.messages(), std::vector<std::string>{path.failureMessage});
                EXPECT_EQ(prompter.last().title, path.failureTitle);
            }

            // Without the fault the same save replaces the file, and leaves nothing else behind.
            ScriptedPrompter again;
            EXPECT_TRUE(path.save(dir.path(), again));
            EXPECT_NE(ReadBytes(target), old);
            EXPECT_EQ(FolderEntries(dir.path()), before);
        }
    }
}

TEST(SaveFaults, WritesThatTakeFewBytesAtATimeStillWriteEverything) {
    TempDir dir;
    const std::string path = dir.file("t.skv");
    const std::string bytes = SerializeDataFile(testing::MakeClass(200, "甲"));
    {
        ScopedShortWrites shortWrites(7);
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
        EXPECT_GE(shortWrites.calls(), static_cast<int>(bytes.size() / 7));
    }
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(SaveFaults, TemporaryFilesOfAKilledWriterGoWithTheNextSave) {
    TempDir dir;
    const std::string path = dir.file("成绩.skv");
    WriteBytes(path, "old");
    // What a writer killed halfway leaves: its temporary file, no longer locked by anyone.
    WriteBytes(dir.file(".成绩.skv.tmp123456"), "half");
    // Files that merely look alike are not touched.
    WriteBytes(dir.file(".成绩.skv.tmp12x"), "keep");
    WriteBytes(dir.file(".其他.skv.tmp1"), "keep");
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{".其他.skv.tmp1", ".成绩.skv.tmp12x", "成绩.skv"}));
    EXPECT_EQ(ReadBytes(path), "new");
}

}  // namespace
}  // namespace scorvane
