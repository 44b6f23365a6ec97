#include "common/report_template.h"

#include <gtest/gtest.h>

#include "common/text_codec.h"
#include "support/recording_surface.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::ReadBytes;
using testing::RecordingSurface;
using testing::TempDir;

TemplateLabel Label(std::string caption, double top, double left) {
    TemplateLabel l;
    l.caption = std::move(caption);
    l.top = top;
    l.left = left;
    return l;
}

ReportTemplateRecords RoundTrip(const ReportTemplate& report) {
    return ParseReportTemplate(SerializeReportTemplate(report));
}

// A template text as the designer opens it.
ReportTemplate Opened(std::string_view text) {
    return OpenReportTemplate(PrintableReportTemplate(ParseReportTemplate(text)));
}

TEST(ReportTemplateFile, ReadsTheDocumentedExampleExactly) {
    const char* text =
        ";KVL'S Scorvane报表模板文件\r\n;(notice)\r\n[Information]\r\nLinesNum=1\r\nLabelsNum=1\r\nPage=0\r\n"
        "[Lines]\r\n0=9000,1500,1000,1500,1\r\n1=1000,1500,1000,4500,2\r\n[Labels]\r\n"
        "0=成绩通知单 600 3500 宋体 -1 0 16 0 0 0\r\n1=！引用数据 1700 1200 宋体 0 0 10 0 0 255\r\n";
    ReportTemplateRecords records = ParseReportTemplate(text);
    EXPECT_TRUE(records.hasInformation);
    EXPECT_FALSE(records.landscape);
    ASSERT_EQ(records.lineRecords,
              (std::vector<std::string>{"9000,1500,1000,1500,1", "1000,1500,1000,4500,2"}));
    PrintableTemplate t = PrintableReportTemplate(records);
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(t.lines[1], (TemplateLine{1000, 1500, 1000, 4500, 2}));
    ASSERT_EQ(t.labels.size(), 2u);
    TemplateLabel title = Label("成绩通知单", 600, 3500);
    title.fontBold = true;
    title.fontSize = 16;
    EXPECT_EQ(t.labels[0], title);
    TemplateLabel bound = Label("！引用数据", 1700, 1200);
    bound.fontSize = 10;
    bound.foreColor = 255;
    EXPECT_EQ(t.labels[1], bound);
    EXPECT_EQ(t.skippedRecords, 0);
}

TEST(ReportTemplateFile, WritesTheLayoutAndReadsItBack) {
    ReportTemplate report;
    report.landscape = true;
    report.lineRecords = {"9000,1500,1000,1500,1", "1000,1500,1000,4500,2"};
    TemplateLabel a = Label("成绩通知单", 600, 3500);
    a.fontBold = true;
    a.fontItalic = true;
    a.fontStrikethru = true;
    a.fontUnderline = true;
    a.fontSize = 16;
    a.foreColor = 16777215;
    report.labels = {a, Label("！引用数据", 1700, 1200)};

    std::string text = SerializeReportTemplate(report);
    EXPECT_EQ(text,
              ";KVL'S Scorvane报表模板文件\r\n;KVL'S Scorvane 版权所有，报表模板格式 2024年5月\r\n"
              "[Information]\r\nLinesNum=1\r\nLabelsNum=1\r\nPage=-1\r\n"
              "[Lines]\r\n0=9000,1500,1000,1500,1\r\n1=1000,1500,1000,4500,2\r\n"
              "[Labels]\r\n0=成绩通知单 600 3500 宋体 -1 -1 16 -1 -1 16777215\r\n"
              "1=！引用数据 1700 1200 宋体 0 0 9 0 0 0\r\n");

    ReportTemplate back = Opened(text);
    EXPECT_TRUE(back.landscape);
    EXPECT_EQ(back.lineRecords, report.lineRecords);
    EXPECT_EQ(back.labels, report.labels);
}

TEST(ReportTemplateFile, EmptyTemplateHasNoSectionsForLinesOrLabels) {
    std::string text = SerializeReportTemplate(ReportTemplate{});
    EXPECT_NE(text.find("LinesNum=-1\r\nLabelsNum=-1\r\nPage=0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[Lines]"), std::string::npos);
    EXPECT_EQ(text.find("[Labels]"), std::string::npos);
    ReportTemplateRecords back = ParseReportTemplate(text);
    EXPECT_TRUE(back.lineRecords.empty());
    EXPECT_TRUE(back.labelRecords.empty());
}

TEST(ReportTemplateFile, LineBreaksInCaptionsAndTheLiteralMarker) {
    ReportTemplate report;
    report.labels = {Label("第一行\r\n第二行\r\n第三行", 100, 200)};
    std::string text = SerializeReportTemplate(report);
    EXPECT_NE(text.find("0=第一行[/]第二行[/]第三行 100 200 "), std::string::npos);
    EXPECT_EQ(Opened(text).labels[0].caption, "第一行\r\n第二行\r\n第三行");

    TemplateLabel typed;
    ASSERT_TRUE(SetLabel("甲[/]乙 100 200 宋体 0 0 9 0 0 0", typed));
    EXPECT_EQ(typed.caption, "甲\r\n乙");
}

TEST(ReportTemplateFile, NumbersAreWrittenShortestAndReadWholeHalvesToEven) {
    TemplateLabel l = Label("x", 1187.5, 1200);
    l.fontSize = 10.5;
    std::string record = EncodeLabelRecord(l);
    EXPECT_EQ(record, "x 1187.5 1200 宋体 0 0 10.5 0 0 0");
    TemplateLabel back;
    ASSERT_TRUE(SetLabel(record, back));
    EXPECT_EQ(back.top, 1188);
    EXPECT_EQ(back.left, 1200);
    EXPECT_EQ(back.fontSize, 10);
    ASSERT_TRUE(SetLabel("x 0.5 -2.5 宋体 0 0 11.5 0 0 0", back));
    EXPECT_EQ(back.top, 0);
    EXPECT_EQ(back.left, -2);
    EXPECT_EQ(back.fontSize, 12);
}

// What a save writes, reopening gives back, and a second save writes byte for byte again.
TEST(ReportTemplateFile, ASavedLabelReadsBackAsItWasAndSavesTheSameAgain) {
    TemplateLabel indented = Label("  \t缩进的标题", 100, 200);
    TemplateLabel white = Label("白", 100, 200);
    white.foreColor = 0xFFFFFFFF;
    TemplateLabel system = Label("系统色", 100, 200);
    system.foreColor = 0x80000012;
    TemplateLabel digits = Label("A 1200", 300, 400);
    digits.fontName = "3270 Nerd Font";
    const std::pair<TemplateLabel, std::string> cases[] = {
        {indented, "0=\"  \t缩进的标题 100 200 宋体 0 0 9 0 0 0\""},
        {white, "0=白 100 200 宋体 0 0 9 0 0 -1"},
        {system, "0=系统色 100 200 宋体 0 0 9 0 0 -2147483630"},
        {digits, "0=A 1200 300 400 3270\u3000Nerd\u3000Font 0 0 9 0 0 0"},
    };
    for (const auto& [label, written] : cases) {
        ReportTemplate report;
        report.labels = {label};
        const std::string saved = SerializeReportTemplate(report);
        EXPECT_NE(saved.find(written + "\r\n"), std::string::npos) << written;
        const ReportTemplate back = Opened(saved);
        EXPECT_EQ(back.labels, report.labels) << written;
        EXPECT_EQ(SerializeReportTemplate(back), saved) << written;
    }
}

TEST(ReportTemplateFile, FontSizesAreKeptWithinWhatTheFontDialogOffers) {
    const std::pair<const char*, double> sizes[] = {
        {"0", 1}, {"-12", 1}, {"1638", 1638}, {"16380", 1638}, {"2147483647", 1638}};
    for (const auto& [written, read] : sizes) {
        TemplateLabel l;
        ASSERT_TRUE(SetLabel(std::string("x 1 2 宋体 0 0 ") + written + " 0 0 0", l));
        EXPECT_EQ(l.fontSize, read) << written;
    }
}

TEST(ReportTemplateFile, FlagsAreTrueWhenNonZero) {
    TemplateLabel l;
    ASSERT_TRUE(SetLabel("x 1 2 宋体 1 -1 9 0 7 4294967295", l));
    EXPECT_TRUE(l.fontBold);
    EXPECT_TRUE(l.fontItalic);
    EXPECT_FALSE(l.fontStrikethru);
    EXPECT_TRUE(l.fontUnderline);
    EXPECT_EQ(l.foreColor, 4294967295u);
    ASSERT_TRUE(SetLabel("x 1 2 宋体 0 0 9 0 0 -16777216", l));
    EXPECT_FALSE(l.fontBold);
    EXPECT_EQ(l.foreColor, 0xFF000000u);  // a signed colour keeps its bits

    // Page: -1 is landscape, anything else (or nothing) portrait.
    EXPECT_FALSE(ParseReportTemplate("[Information]\r\nPage=1\r\n").landscape);
    EXPECT_FALSE(ParseReportTemplate("[Information]\r\nLinesNum=-1\r\n").landscape);
    EXPECT_TRUE(ParseReportTemplate("[information]\r\npage = -1\r\n").landscape);
}

TEST(ReportTemplateFile, SpacesLongCaptionsAndLineKindsRoundTrip) {
    ReportTemplate report;
    TemplateLabel a = Label("文字标签 1", 600, 3500);
    a.fontName = "Noto Serif CJK SC";
    TemplateLabel b = Label("期末 2024 成绩", 1000, 2000);  // numbers inside the caption
    TemplateLabel c = Label("", 300, 400);  // an empty caption loses its leading space to the reader
    c.fontName = "Noto Sans CJK SC";
    TemplateLabel d = Label("两  个空格 ", 5, 6);
    std::string longCaption;
    for (int i = 0; i < 150; ++i) {
        longCaption += "长";
    }
    TemplateLabel e = Label(longCaption, 10, 20);
    e.foreColor = 255;
    report.labels = {a, b, c, d, e};
    report.lineRecords = {EncodeLineRecord({10, 20, 30, 40, 2}), EncodeLineRecord({-5, 0, 7, 8, 1})};
    EXPECT_EQ(report.lineRecords[0], "10,20,30,40,2");
    const ReportTemplateRecords back = RoundTrip(report);
    EXPECT_EQ(OpenReportTemplate(PrintableReportTemplate(back)).labels, report.labels);
    EXPECT_EQ(PrintableReportTemplate(back).lines,
              (std::vector<TemplateLine>{{10, 20, 30, 40, 2}, {-5, 0, 7, 8, 1}}));
}

TEST(ReportTemplateFile, BadLabelRecordKeepsTheFieldsSetBeforeIt) {
    TemplateLabel l;
    l.fontName = "黑体";
    l.fontSize = 20;
    EXPECT_FALSE(SetLabel("标题 100 abc 宋体 0 0 9 0 0 0", l));
    EXPECT_EQ(l.caption, "标题");
    EXPECT_EQ(l.top, 100);
    EXPECT_EQ(l.fontName, "黑体");  // not reached
    EXPECT_EQ(l.fontSize, 20);

    TemplateLabel m;
    EXPECT_FALSE(SetLabel("0", m));  // what a missing entry reads as
    EXPECT_EQ(m.caption, "0");
    EXPECT_FALSE(SetLabel("", m));
    EXPECT_FALSE(SetLabel("a 1 2 宋体 0 0 9 0 0", m));  // the colour is missing
    EXPECT_FALSE(SetLabel("a 1 2 宋体 0 0 9 0 0 x", m));
    EXPECT_FALSE(SetLabel("a 1 2 宋体 0 0 9 0 0 1e300", m));
}

TEST(ReportTemplateFile, PrintingPassesOverRecordsThatDoNotParse) {
    const char* text =
        "[Information]\r\nLinesNum=3\r\nLabelsNum=2\r\nPage=0\r\n[Lines]\r\n0=1,2,3,4,1\r\n1=1,2,3\r\n"
        "2=a,b,c,d,e\r\n3=5,6,7,8,2\r\n[Labels]\r\n0=好 1 2 宋体 0 0 9 0 0 0\r\n1=坏 1 x\r\n"
        "2=也好 3 4 黑体 0 0 12 0 0 0\r\n";
    PrintableTemplate t = PrintableReportTemplate(ParseReportTemplate(text));
    ASSERT_EQ(t.lines.size(), 2u);
    EXPECT_EQ(t.lines[1].x1, 5);
    ASSERT_EQ(t.labels.size(), 2u);
    EXPECT_EQ(t.labels[1].caption, "也好");
    EXPECT_EQ(t.skippedRecords, 3);
}

TEST(ReportTemplateFile, ADamagedLineRecordWithABreakInsideSavesTheSameEveryTime) {
    const char* text =
        "[Information]\r\nLinesNum=1\r\nLabelsNum=-1\r\nPage=0\r\n[Lines]\r\n"
        "0=1,2,3,4,1\r\n1=1,2\r3,4,1\r\n";
    const ReportTemplate opened = Opened(text);
    EXPECT_EQ(opened.lineRecords, std::vector<std::string>{"1,2,3,4,1"});  // the damaged one is passed over
    const std::string saved = SerializeReportTemplate(opened);
    const ReportTemplate reopened = Opened(saved);
    EXPECT_EQ(reopened.lineRecords, opened.lineRecords);
    EXPECT_EQ(SerializeReportTemplate(reopened), saved);
}

TEST(ReportTemplateFile, CountsAreNotTrustedBeyondTheKeysPresent) {
    ReportTemplateRecords r = ParseReportTemplate(
        "[Information]\r\nLinesNum=2000000000\r\nLabelsNum=abc\r\n[Lines]\r\n0=1,1,2,2,1\r\n"
        "2=3,3,4,4,1\r\n[Labels]\r\n0=a 1 2 宋体 0 0 9 0 0 0\r\n1=b 1 2 宋体 0 0 9 0 0 0\r\n");
    // Keys 0 .. 2 exist at most; key 1 is missing and reads as "0". A count that is no number reads as 0.
    EXPECT_EQ(r.lineRecords, (std::vector<std::string>{"1,1,2,2,1", "0", "3,3,4,4,1"}));
    EXPECT_EQ(r.labelRecords.size(), 1u);
    EXPECT_FALSE(ParseReportTemplate("hello\r\n").hasInformation);

    // 59 bytes whose count and one key are the largest 32-bit number: a key far beyond the keys present
    // does not make the reader produce two thousand million records.
    r = ParseReportTemplate("[Information]\r\nLinesNum=2147483647\r\n[Lines]\r\n2147483647=1\r\n");
    EXPECT_EQ(r.lineRecords, (std::vector<std::string>{"0", "0"}));
    r = ParseReportTemplate(
        "[Information]\r\nLabelsNum=2147483647\r\n[Labels]\r\n0=a 1 2 宋体 0 0 9 0 0 0\r\n"
        "2147483647=b 1 2 宋体 0 0 9 0 0 0\r\n");
    EXPECT_EQ(r.labelRecords.size(), 4u);
    EXPECT_EQ(r.labelRecords[0], "a 1 2 宋体 0 0 9 0 0 0");
}

TEST(ReportTemplateFile, FileIsGbkWithCrLfAndWrittenAtomically) {
    TempDir dir;
    ReportTemplate report;
    report.labels = {Label("成绩", 1, 2)};
    const std::string path = dir.file("卡片.rvx");
    ASSERT_TRUE(WriteReportTemplate(report, path));
    std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, EncodeGbk(SerializeReportTemplate(report)));
    EXPECT_NE(bytes.find(EncodeGbk("0=成绩 1 2 宋体 0 0 9 0 0 0\r\n")), std::string::npos);
    ReportTemplateRecords back;
    ASSERT_TRUE(ReadReportTemplateFile(path, back));
    EXPECT_EQ(back.labelRecords, (std::vector<std::string>{"成绩 1 2 宋体 0 0 9 0 0 0"}));
    EXPECT_FALSE(ReadReportTemplateFile(dir.file("missing.rvx"), back));
    EXPECT_FALSE(WriteReportTemplate(report, dir.path()));  // a folder stands where the file should go
}

TEST(ReportTemplateFile, DrawLinesDrawsParsedRecordsInBlackOrRed) {
    RecordingSurface surface;
    surface.setLineWidth(3);
    EXPECT_TRUE(DrawLines("9000,1500,1000,1500,1", false, surface));
    EXPECT_TRUE(DrawLines("1,2,3,4,2", true, surface));
    EXPECT_FALSE(DrawLines("0", false, surface));
    EXPECT_FALSE(DrawLines("1,2,3,4,5,6", false, surface));
    ASSERT_EQ(surface.ops().size(), 2u);
    const auto& a = surface.ops()[0];
    EXPECT_EQ(a.type, RecordingSurface::Op::Line);
    EXPECT_EQ((std::vector<double>{a.x1, a.y1, a.x2, a.y2}), (std::vector<double>{9000, 1500, 1000, 1500}));
    EXPECT_EQ(a.color, 0u);
    EXPECT_EQ(a.lineWidth, 3);
    EXPECT_EQ(surface.ops()[1].color, 255u);
}

}  // namespace
}  // namespace scorvane
