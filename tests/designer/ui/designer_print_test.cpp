// "打印样张(&P)" through the print path both programs share, on a machine without printers: the sample
// page of the sample report card in a PDF file, word for word and point for point the report page
// scorvane prints from the same template, and the printer's failures told as scorvane tells them.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "common/drawing_surface.h"
#include "common/qt/print_path.h"
#include "designer/template_file_commands.h"
#include "designer_window_fixture.h"
#include "support/pdf_files.h"
#include "support/run_program.h"

namespace scorvane::designer {
namespace {

using testing_support::Strings;

const std::string kExamples = std::string(SCORVANE_SOURCE_DIR) + "/examples";
const std::string kTemplate = kExamples + "/成绩通知单.rvx";

// A word of a PDF page and its box in points, as pdftotext reads them.
struct PdfWord {
    std::string text;
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The number after `key="` in `tag`.
double Attribute(const std::string& tag, const std::string& key) {
    const size_t at = tag.find(key + "=\"");
    return at == std::string::npos ? -1 : std::stod(tag.substr(at + key.size() + 2));
}

std::vector<PdfWord> PdfWords(const std::string& path) {
    const testing::ProgramResult read = testing::RunProgram("/usr/bin/pdftotext", {"-bbox", path, "-"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    std::vector<PdfWord> words;
    for (size_t at = read.out.find("<word "); at != std::string::npos; at = read.out.find("<word ", at + 1)) {
        const size_t close = read.out.find('>', at);
        const size_t end = read.out.find("</word>", close);
        if (close == std::string::npos || end == std::string::npos) {
            break;
        }
        const std::string tag = read.out.substr(at, close - at);
        words.push_back({read.out.substr(close + 1, end - close - 1), Attribute(tag, "xMin"),
                         Attribute(tag, "yMin"), Attribute(tag, "xMax"), Attribute(tag, "yMax")});
    }
    return words;
}

class DesignerPrintTest : public testing_support::DesignerWindowFixture {
  protected:
    DesignerPrintTest() {
        window.printPath().setPrintersInstalled([] { return false; });
    }
    void printSample(const std::string& chosen) {
        prompter.chooseSave(chosen);
        action("menuPrintSample")->trigger();
    }
};

TEST_F(DesignerPrintTest, TheSamplePageIsTheReportPageOfScorvaneWithEveryCaptionInItsPlace) {
    ASSERT_TRUE(window.openAtStart(kTemplate));
    // The last label ("家长签名：") gets a caption of two lines; the template is saved under a new name.
    auto* caption = find<QLineEdit>("Text3");
    caption->setText(QStringLiteral("家长签名：[/]（日期）"));
    QTest::keyClick(caption, Qt::Key_Return);
    const std::string saved = dir.file("成绩通知单二.rvx");
    prompter.chooseSave(saved);
    action("menuSaveAs")->trigger();
    ASSERT_EQ(window.document().fileName, saved);

    // No printer: the name of a PDF file is asked for, and ".pdf" is added to a bare name.
    printSample(dir.file("样张"));
    const std::string sample = dir.file("样张.pdf");
    ASSERT_TRUE(std::filesystem::exists(sample));
    EXPECT_EQ(testing::PdfPageSizes(sample), "1 595x842");
    EXPECT_TRUE(prompter.messages().empty());

    // scorvane's report page of the same template for one row, with no label bound to a field.
    const std::string report = dir.file("report.pdf");
    const testing::ProgramResult cli =
        testing::RunCli({"report", kExamples + "/表格数据/星河实验中学/高一/(1)班/期中考试.skv", saved, "-o",
                         report, "--row", "1"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;

    const std::vector<PdfWord> printed = PdfWords(sample);
    const std::vector<PdfWord> expected = PdfWords(report);
    ASSERT_EQ(printed.size(), expected.size());
    ASSERT_GT(printed.size(), 20u);
    for (size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(printed[i].text, expected[i].text) << i;
        EXPECT_NEAR(printed[i].left, expected[i].left, 0.01) << printed[i].text;
        EXPECT_NEAR(printed[i].top, expected[i].top, 0.01) << printed[i].text;
        EXPECT_NEAR(printed[i].right, expected[i].right, 0.01) << printed[i].text;
    }
    const std::string text = testing::PdfText(sample);
    testing::ExpectParts(text,
                         {"成绩通知单", "姓名：", "！引用数据", "教师评语：", "家长签名：", "（日期）"});
}

TEST_F(DesignerPrintTest, ALandscapeTemplatePrintsOnATurnedSheetAndFailuresAreToldAsScorvaneTellsThem) {
    ASSERT_TRUE(window.openAtStart(kTemplate));
    find<QRadioButton>("Option1")->click();
    printSample(dir.file("landscape.pdf"));
    EXPECT_EQ(testing::PdfPageSizes(dir.file("landscape.pdf")), "1 842x595");

    // A cancelled file dialog prints nothing and says nothing.
    printSample("");
    EXPECT_TRUE(prompter.messages().empty());

    // A file that cannot be written is a printer failure, and nothing half-written is left.
    const std::string notAFolder = dir.file("普通文件");
    std::ofstream(notAFolder) << "x";
    const std::string unwritable = notAFolder + "/样张.pdf";
    printSample(unwritable);
    EXPECT_EQ(prompter.messages(), Strings{"打印错误，请检查 打印机连接！"});
    EXPECT_EQ(prompter.calls().back().title, "打印错误");
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

}  // namespace
}  // namespace scorvane::designer
